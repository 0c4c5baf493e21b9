// The .reg reader that checks the export in the fuzzing, on known files: what
// it reads from each form of line, and the malformed files it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reg_file_reader.h"

namespace {

std::vector<std::uint8_t> Data(std::initializer_list<int> bytes) {
  std::vector<std::uint8_t> data;
  for (int b : bytes) data.push_back(static_cast<std::uint8_t>(b));
  return data;
}

TEST(RegFileReaderTest, ReadsKeysNamesAndDataOfAVersion5File) {
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n"
      "\"Version\"=\"4.2.0.0\"\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1024x768]\r\n"
      "\"Caf\xE9\xA0(1)\"=hex:14,00,00,00,1e,00,00,00\r\n"
      "\"Dossier \\\"A\\\\B\\\"\"=hex:FF,ff,ff,ff,ff,ff,ff,ff\r\n"
      "\"\"=hex:\r\n"
      "@=\"d\xE9\\\"faut\"\r\n"
      "\r\n";
  RegFile file;
  std::string error;
  ASSERT_TRUE(ReadRegFile(text, file, error)) << error;
  EXPECT_TRUE(file.version5);
  ASSERT_EQ(2u, file.keys.size());
  EXPECT_EQ("HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan", file.keys[0].path);
  ASSERT_EQ(1u, file.keys[0].values.size());
  EXPECT_EQ("Version", file.keys[0].values[0].name);
  EXPECT_EQ(1u, file.keys[0].values[0].type);
  EXPECT_EQ(Data({'4', '.', '2', '.', '0', '.', '0', 0}), file.keys[0].values[0].data);

  const RegFileKey &layout = file.keys[1];
  EXPECT_EQ("HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1024x768", layout.path);
  EXPECT_FALSE(layout.deleted);
  ASSERT_EQ(4u, layout.values.size());
  EXPECT_EQ("Caf\xE9\xA0(1)", layout.values[0].name);  // Windows-1252 bytes kept
  EXPECT_EQ(3u, layout.values[0].type);
  EXPECT_EQ(Data({0x14, 0, 0, 0, 0x1e, 0, 0, 0}), layout.values[0].data);
  EXPECT_EQ("Dossier \"A\\B\"", layout.values[1].name);
  EXPECT_EQ(Data({255, 255, 255, 255, 255, 255, 255, 255}), layout.values[1].data);
  EXPECT_EQ("", layout.values[2].name);
  EXPECT_TRUE(layout.values[2].data.empty());
  EXPECT_EQ("", layout.values[3].name);  // @, the default value
  EXPECT_EQ(Data({'d', 0xE9, '"', 'f', 'a', 'u', 't', 0}), layout.values[3].data);
}

TEST(RegFileReaderTest, ReadsDwordsTypedHexContinuedLinesAndDeletedKeys) {
  const std::string text =
      "REGEDIT4\r\n"
      "\r\n"
      "[-HKEY_CURRENT_USER\\Software\\Ancien]\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\800x600]\r\n"
      "\"Corbeille\"=dword:001E0014\r\n"
      "\"N\xE9gatif\"=dword:fffffff6\r\n"
      "\"Chemin\"=hex(2):25,00,41,00,\\\r\n"
      "  42,00,\\\r\n"
      "  00,00\r\n"
      "\"Rien\"=hex(0):\r\n"
      "\"Grand\"=hex(b):01,02,03,04,05,06,07,08\r\n";
  RegFile file;
  std::string error;
  ASSERT_TRUE(ReadRegFile(text, file, error)) << error;
  EXPECT_FALSE(file.version5);
  ASSERT_EQ(2u, file.keys.size());
  EXPECT_TRUE(file.keys[0].deleted);
  EXPECT_EQ("HKEY_CURRENT_USER\\Software\\Ancien", file.keys[0].path);
  const std::vector<RegFileValue> &values = file.keys[1].values;
  ASSERT_EQ(5u, values.size());
  EXPECT_EQ(4u, values[0].type);
  EXPECT_EQ(Data({0x14, 0, 0x1E, 0}), values[0].data);
  EXPECT_EQ("N\xE9gatif", values[1].name);
  EXPECT_EQ(Data({0xF6, 0xFF, 0xFF, 0xFF}), values[1].data);
  EXPECT_EQ(2u, values[2].type);
  EXPECT_EQ(Data({0x25, 0, 0x41, 0, 0x42, 0, 0, 0}), values[2].data);
  EXPECT_EQ(0u, values[3].type);
  EXPECT_TRUE(values[3].data.empty());
  EXPECT_EQ(11u, values[4].type);
  EXPECT_EQ(8u, values[4].data.size());
}

TEST(RegFileReaderTest, RefusesMalformedFilesAtTheLineAtFault) {
  const std::string header = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\X]\r\n";
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"", "an empty file"},
      {"REGEDIT5\r\n", "line 1: not a registry file header"},
      {"REGEDIT4", "line 1: the last line has no CR LF"},
      {header + "\"a\nb\"=hex:01\r\n", "line 3: a line break inside the line"},
      {header + "\"a\rb\"=hex:01\r\n", "line 3: a line break inside the line"},
      {"REGEDIT4\r\n\"a\"=hex:01\r\n", "line 2: a value outside a key"},
      {"REGEDIT4\r\n[-HKEY_CURRENT_USER\\X]\r\n\"a\"=hex:01\r\n", "line 3: a value outside a key"},
      {header + "[HKEY_CURRENT_USER\\X\r\n", "line 3: a malformed key line"},
      {header + "[]\r\n", "line 3: a malformed key line"},
      {header + "\"abc=hex:01\r\n", "line 3: a quoted text without its closing quote"},
      {header + "\"a\\nb\"=hex:01\r\n", "line 3: an unknown escape in a quoted text"},
      {header + "abc=hex:01\r\n", "line 3: a quote expected"},
      {header + "\"a\"hex:01\r\n", "line 3: an equals sign expected"},
      {header + "\"a\"=dword:1234567\r\n", "line 3: a dword needs eight hexadecimal digits"},
      {header + "\"a\"=dword:1234567g\r\n", "line 3: a dword needs eight hexadecimal digits"},
      {header + "\"a\"=hex:01,\r\n", "line 3: a comma at the end of the data"},
      {header + "\"a\"=hex:01;02\r\n", "line 3: a comma expected between bytes"},
      {header + "\"a\"=hex:1,02\r\n", "line 3: two hexadecimal digits expected"},
      {header + "\"a\"=hex:01,\\\r\n", "line 3: a continuation at the end of the file"},
      {header + "\"a\"=hex:01,\\\r\n  \r\n", "line 4: an empty continuation line"},
      {header + "\"a\"=hex(zz):01\r\n", "line 3: a malformed hex( type"},
      {header + "\"a\"=\"b\"c\r\n", "line 3: text after a string"},
      {header + "\"a\"=qword:01\r\n", "line 3: unknown data"},
  };
  for (const auto &c : cases) {
    RegFile file;
    std::string error;
    EXPECT_FALSE(ReadRegFile(c.text, file, error)) << c.text;
    EXPECT_EQ(c.error, error) << c.text;
  }
}

}  // namespace
