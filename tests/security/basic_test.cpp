#include "security/basic.h"

#include <gtest/gtest.h>

#include "security/custom_basic_list.h"
#include "security/layer_error.h"
#include "winsim/machine.h"
#include "winsim/trace.h"

namespace {

class Basic : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
};

// Takes and drops references to itself while it is being built.
class SelfReferencing : public TIBasic {
 public:
  SelfReferencing() {
    IPtr<IBasic> self(this);
    IPtr<IBasic> again = self;
  }
};

TEST_F(Basic, ReferencesTakenDuringConstructionDoNotDestroy) {
  IPtr<TIBasic> object = MakeObject<SelfReferencing>();
  EXPECT_EQ(1, object->RefCount());
  EXPECT_TRUE(object->IsValid());
}

TEST_F(Basic, LastReferenceDestroysAndFreesTheDataWord) {
  static std::uint32_t freed;
  freed = 0;
  {
    IPtr<IBasic> object = MakeObject<TIBasic>();
    object->SetData(42, [](std::uint32_t *data) { freed = *data; });
    IPtr<IBasic> copy = object;
    EXPECT_EQ(2, object->SelfObject()->RefCount());
  }
  EXPECT_EQ(42u, freed);
}

TEST_F(Basic, DestroyingAReferencedObjectRaisesAndKeepsIt) {
  IPtr<IBasic> object = MakeObject<TIBasic>();
  try {
    object->SelfObject()->Destroy();
    FAIL() << "no exception";
  } catch (const SecurityLayerError &error) {
    EXPECT_STREQ("Interface with reference count >0 destroyed.", error.what());
  }
  object->SetTag("still here");
  EXPECT_EQ("still here", object->Tag());
}

TEST_F(Basic, LastErrorStrIsFormattedOnceThenKept) {
  IPtr<IBasic> object = MakeObject<TIBasic>();
  EXPECT_FALSE(object->SetLastErrorNo(5));
  EXPECT_FALSE(object->Success());
  EXPECT_EQ("Accès refusé. ", object->LastErrorStr());
  EXPECT_EQ(1u, winsim::CountCalls("FormatMessageA"));
  EXPECT_EQ("Accès refusé. ", object->LastErrorStr());
  EXPECT_EQ(1u, winsim::CountCalls("FormatMessageA"));
  EXPECT_TRUE(object->SetLastErrorNo(0));
  EXPECT_EQ("", object->LastErrorStr());
  EXPECT_TRUE(object->Success());
}

TEST_F(Basic, ErrorCodeAndTextRules) {
  IPtr<IBasic> object = MakeObject<TIBasic>();
  object->SetLastError(87, "mine");
  EXPECT_FALSE(object->Success());
  object->SetLastErrorNo(5);  // another code keeps the stored text
  EXPECT_EQ("mine", object->LastErrorStr());
  object->SetLastErrorStr("");
  EXPECT_EQ(0u, object->LastErrorNo());
  EXPECT_TRUE(object->Success());
  object->SetLastErrorStr("text only");
  EXPECT_TRUE(object->Success());
  EXPECT_EQ("text only", object->LastErrorStr());
}

TEST_F(Basic, SuccessIsPerCallWhileTheOldCodeStays) {
  IPtr<ICustomBasicList> list = MakeObject<TICustomBasicList>();
  IPtr<IBasic> stranger = MakeObject<TIBasic>();
  EXPECT_EQ(-1, stranger->IndexIn(list.get()));
  EXPECT_FALSE(stranger->Success());
  EXPECT_EQ(2u, stranger->LastErrorNo());
  EXPECT_TRUE(stranger->Supports(IID_IBasic));
  EXPECT_TRUE(stranger->Success());
  EXPECT_EQ(2u, stranger->LastErrorNo());
}

TEST_F(Basic, PlaceholderCarriesItsErrorAndRefusesOperations) {
  IPtr<IBasic> placeholder = MakeObject<TIBasic>(0x10006u, "Index out of range.");
  EXPECT_FALSE(placeholder->IsValid());
  EXPECT_EQ(0x10006u, placeholder->LastErrorNo());
  EXPECT_EQ("Index out of range.", placeholder->LastErrorStr());
  IPtr<ICustomBasicList> list = MakeObject<TICustomBasicList>();
  EXPECT_FALSE(placeholder->SelectedIn(list.get()));
  EXPECT_EQ(0x10001u, placeholder->LastErrorNo());
  EXPECT_EQ("This object is invalid.", placeholder->LastErrorStr());
}

TEST_F(Basic, DataWordFreeCallbacks) {
  struct Owner {
    std::vector<std::uint32_t> freed;
    static void Free(void *self, std::uint32_t *data) { static_cast<Owner *>(self)->freed.push_back(*data); }
  } owner;
  static int procCalls;
  procCalls = 0;
  IPtr<IBasic> object = MakeObject<TIBasic>();
  object->SetData(7, [](std::uint32_t *) { ++procCalls; });
  object->SetData(8);  // frees 7, keeps the procedure
  EXPECT_EQ(1, procCalls);
  object->SetData(9, TDataFreeMethod{&Owner::Free, &owner});  // frees 8 through the procedure
  EXPECT_EQ(2, procCalls);
  object->SetData(0);  // frees 9 through the method
  object->SetData(10);  // 0 is not freed
  EXPECT_EQ(std::vector<std::uint32_t>{9}, owner.freed);
  EXPECT_EQ(2, procCalls);
  EXPECT_EQ(10u, object->Data());
}

TEST_F(Basic, InterfacesAnswerByIdentifier) {
  IPtr<ICustomBasicList> list = MakeObject<TICustomBasicList>();
  EXPECT_TRUE(list->Supports(IID_IList));
  EXPECT_TRUE(list->Supports(IID_ICustomBasicList));
  EXPECT_FALSE(list->Supports(IID_ICriticalSection));
  EXPECT_EQ(static_cast<std::uint32_t>(E_NOINTERFACE), list->LastErrorNo());
  IPtr<IList> asList = InterfaceOf<IList>(list.get());
  ASSERT_TRUE(asList);
  EXPECT_EQ(list->SelfObject(), asList->SelfObject());
  EXPECT_FALSE(InterfaceOf<ICriticalSection>(list.get()));
  void *unknown = nullptr;
  EXPECT_EQ(E_NOINTERFACE, list->QueryInterface(IID_ICriticalSection, &unknown));
  EXPECT_EQ(nullptr, unknown);
  EXPECT_EQ(2, list->SelfObject()->RefCount());
}

}  // namespace
