// The share-level access lists of the Windows 9x family (svrapi.dll).
#include <cstring>

#include "security_test_support.h"

namespace {

using ShareAccessTest = SecurityTest;

#pragma pack(push, 1)
struct Header {
  char *resource;
  WORD attributes;
  WORD count;
};
struct Entry {
  char *name;
  WORD access;
};
#pragma pack(pop)

TEST_F(ShareAccessTest, AddedListsAreReadBackAndDeleted) {
  auto get = Exported<NetAccessGetInfoFn>("svrapi.dll", "NetAccessGetInfo");
  auto del = Exported<NetAccessDelFn>("svrapi.dll", "NetAccessDel");
  auto add = Exported<NetAccessAddFn>("svrapi.dll", "NetAccessAdd");
  char resource[] = "C:\\PARTAGE";
  unsigned short total = 99;
  EXPECT_EQ(2222u, get(nullptr, resource, 12, nullptr, 0, &total));
  EXPECT_EQ(0u, total);

  char alice[] = "ALICE", staff[] = "STAFF";
  struct {
    Header header;
    Entry entries[2];
  } list = {{resource, 0, 2}, {{alice, 0x81}, {staff, 0x80B7}}};
  ASSERT_EQ(0u, add(nullptr, 2, reinterpret_cast<char *>(&list), sizeof list));
  EXPECT_EQ(2225u, add(nullptr, 2, reinterpret_cast<char *>(&list), sizeof list));

  char lower[] = "c:\\partage";
  EXPECT_EQ(2123u, get(nullptr, lower, 12, nullptr, 0, &total));
  ASSERT_GT(total, sizeof(Header) + 2 * sizeof(Entry));
  std::vector<char> buffer(total);
  ASSERT_EQ(0u, get(nullptr, lower, 12, buffer.data(), total, &total));
  Header header;
  std::memcpy(&header, buffer.data(), sizeof header);
  ASSERT_EQ(2, header.count);
  Entry second;
  std::memcpy(&second, buffer.data() + sizeof(Header) + sizeof(Entry), sizeof second);
  EXPECT_EQ(std::string("STAFF"), second.name);
  EXPECT_EQ(0x80B7, second.access);

  EXPECT_EQ(0u, del(nullptr, resource));
  EXPECT_EQ(2222u, del(nullptr, resource));
  EXPECT_FALSE(winsim::ShareAccessOf(resource).has_value());
}

}  // namespace
