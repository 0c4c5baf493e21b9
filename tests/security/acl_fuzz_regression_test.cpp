// Inputs the fuzzing of the binary ACL reader found, each kept as a case.
#include <cstring>

#include "security_layer_support.h"

namespace {

class AclFuzzRegressionTest : public LayerTest {};

// An ACL of one object entry of 16 bytes whose flags announce both GUIDs
// (neither fits), followed by 16 bytes of 0xAB that belong to no entry.
std::vector<DWORD> ShortObjectEntryAcl() {
  std::vector<BYTE> bytes(8 + 16 + 16, 0xAB);
  const WORD aclSize = static_cast<WORD>(bytes.size()), count = 1, aceSize = 16;
  bytes[0] = ACL_REVISION;
  bytes[1] = 0;
  std::memcpy(&bytes[2], &aclSize, 2);
  std::memcpy(&bytes[4], &count, 2);
  bytes[6] = bytes[7] = 0;
  bytes[8] = ACCESS_ALLOWED_OBJECT_ACE_TYPE;
  bytes[9] = 0;
  std::memcpy(&bytes[10], &aceSize, 2);
  const DWORD mask = 0x30, flags = ACE_OBJECT_TYPE_PRESENT | ACE_INHERITED_OBJECT_TYPE_PRESENT;
  std::memcpy(&bytes[12], &mask, 4);
  std::memcpy(&bytes[16], &flags, 4);
  std::memset(&bytes[20], 0x11, 4);
  std::vector<DWORD> acl(bytes.size() / 4);
  std::memcpy(acl.data(), bytes.data(), bytes.size());
  return acl;
}

bool IsZero(const GUID &guid) {
  static const GUID zero = {};
  return std::memcmp(&guid, &zero, sizeof guid) == 0;
}

// Found by fuzzing: the GUIDs of an object entry were read, and written, at
// the places its flags give even when they lay past the entry's end.
TEST_F(AclFuzzRegressionTest, ObjectEntryGuidsPastItsEndAreAbsent) {
  std::vector<DWORD> binary = ShortObjectEntryAcl();
  IPtr<TIAcl> acl = MakeObject<TIAcl>(nullptr, reinterpret_cast<const ACL *>(binary.data()));
  ASSERT_TRUE(acl->IsValid());
  ASSERT_EQ(1, acl->Count());
  IPtr<IObjectAce> entry = InterfaceOf<IObjectAce>(acl->AceItems(0).get());
  ASSERT_TRUE(entry);
  EXPECT_EQ(static_cast<std::uint32_t>(ACE_OBJECT_TYPE_PRESENT | ACE_INHERITED_OBJECT_TYPE_PRESENT),
            entry->ObjectFlags());
  EXPECT_TRUE(IsZero(entry->ObjectTypeGuid()));
  EXPECT_TRUE(IsZero(entry->InheritedObjectTypeGuid()));
  EXPECT_FALSE(entry->Account()->IsValid());

  // Setting them is refused and leaves every byte of the list as it was.
  entry->SetObjectTypeGuid(GUID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}});
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), entry->LastErrorNo());
  entry->SetInheritedObjectTypeGuid(GUID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}});
  EXPECT_EQ(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER), entry->LastErrorNo());
  EXPECT_EQ(0, std::memcmp(acl->RawAcl(), binary.data(), binary.size() * 4));
  EXPECT_FALSE(acl->Changed());
}

}  // namespace
