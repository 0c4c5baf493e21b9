// What the export writes: the whole file, byte for byte, in both modes.
#include <gtest/gtest.h>

#include "export_world.h"

namespace {

using ExportFile = ExportWorld;

TEST_F(ExportFile, AnEmptyProductKeyGivesFiveLinesAndAConfirmation) {
  EXPECT_EQ(Run("/EXPORT"), 0);
  EXPECT_EQ(FileBytes(), kEmptyExport);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  const auto box = winsim::MessageBoxes()[0];
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, "Deskplan");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(box.text, std::string("Sauvegarde effectu\xE9") + "e dans :\r\n" + kExportPath);
  EXPECT_EQ(winsim::CountCalls("CreateWindowExA"), 0u) << "the program ends after the export";
  EXPECT_TRUE(ExportLeftNothingHeld());
}

TEST_F(ExportFile, EveryLayoutInRegistryOrderByteForByte) {
  // Stored by an older version: the file names the program's own.
  winsim::SetRegistryString(HKEY_CURRENT_USER, kProductPath, "Version", "4.1.0.0");
  StoreBinary("800x600", "Corbeille", {0x14, 0, 0, 0, 0x1E, 0, 0, 0});
  StoreBinary("1024x768", "Poste de travail", {0x0A, 0, 0, 0, 0x0B, 0, 0, 0});
  StoreBinary("1024x768", "Caf\xE9 \xE0 emporter", {0x2C, 0x01, 0, 0, 0x90, 0x01, 0, 0});
  StoreBinary("1024x768", "Notes" + kSeparator + "(1)", {0xF6, 0xFF, 0xFF, 0xFF, 0x05, 0, 0, 0});
  StoreBinary("1024x768", "Dossier \"A\\B\"", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  StoreBinary("1024x768", "", {1, 0, 0, 0, 2, 0, 0, 0});
  winsim::SetRegistryDword(HKEY_CURRENT_USER, std::string(kProductPath) + "\\Options", "Automatique", 1);
  winsim::CreateRegistryKey(HKEY_CURRENT_USER, std::string(kProductPath) + "\\1280x1024");

  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 0);
  const std::string expected =
      "Windows Registry Editor Version 5.00\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n"
      "\"Version\"=\"4.2.0.0\"\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1024x768]\r\n"
      "\"Poste de travail\"=hex:0a,00,00,00,0b,00,00,00\r\n"
      "\"Caf\xE9 \xE0 emporter\"=hex:2c,01,00,00,90,01,00,00\r\n"
      "\"Notes\xA0____\xA0(1)\"=hex:f6,ff,ff,ff,05,00,00,00\r\n"
      "\"Dossier \\\"A\\\\B\\\"\"=hex:ff,ff,ff,ff,ff,ff,ff,ff\r\n"
      "\"\"=hex:01,00,00,00,02,00,00,00\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1280x1024]\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\800x600]\r\n"
      "\"Corbeille\"=hex:14,00,00,00,1e,00,00,00\r\n"
      "\r\n";
  EXPECT_EQ(FileBytes(), expected);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(ExportLeftNothingHeld());
}

TEST_F(ExportFile, OnlyTheSubkeyNamedExactlyOptionsIsLeftOut) {
  StoreBinary("options", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  Run("/NOPROMPT /EXPORT");
  EXPECT_NE(FileBytes().find("[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\options]\r\n"
                             "\"Corbeille\"=hex:01,00,00,00,02,00,00,00\r\n"),
            std::string::npos)
      << FileBytes();

  SetUp();
  StoreBinary("Options", "Corbeille", {1, 0, 0, 0, 2, 0, 0, 0});
  Run("/NOPROMPT /EXPORT");
  EXPECT_EQ(FileBytes(), kEmptyExport);
}

TEST_F(ExportFile, OnlyEightByteBinaryValuesAreLayoutValues) {
  StoreBinary("1024x768", "Sept", {1, 2, 3, 4, 5, 6, 7});
  StoreBinary("1024x768", "Huit", {1, 2, 3, 4, 5, 6, 7, 8});
  StoreBinary("1024x768", "Neuf", {1, 2, 3, 4, 5, 6, 7, 8, 9});
  StoreDword("1024x768", "Mot", 0x00140028);
  winsim::SetRegistryValue(HKEY_CURRENT_USER, std::string(kProductPath) + "\\1024x768", "Texte", REG_SZ,
                           Bytes({'a', 'b', 'c', 'd', 'e', 'f', 'g', 0}));
  Run("/NOPROMPT /EXPORT");
  EXPECT_EQ(FileBytes(), std::string(kEmptyExport, 0, kEmptyExport.size() - 2) +
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1024x768]\r\n"
                             "\"Huit\"=hex:01,02,03,04,05,06,07,08\r\n"
                             "\r\n");
}

TEST_F(ExportFile, LegacySystemsWriteRegedit4AndEveryDwordZeroIncluded) {
  winsim::SetOsVersion(winsim::Windows98SE());
  StoreDword("800x600", "Corbeille", 0x001E0014);
  StoreDword("800x600", "Coin", 0);  // the top left corner
  StoreDword("800x600", "Dossier \"A\\B\"", 0xFFF6FFEC);  // (-20, -10)
  StoreBinary("800x600", "Binaire", {1, 0, 0, 0, 2, 0, 0, 0});
  StoreBinary("800x600", "Court", {0, 0, 0, 0});
  winsim::SetRegistryValue(HKEY_CURRENT_USER, std::string(kProductPath) + "\\800x600", "Texte", REG_SZ,
                           Bytes({'0', 0}));
  StoreDword("Options", "Automatique", 0);

  EXPECT_EQ(Run("/EXPORT"), 0);
  EXPECT_EQ(FileBytes(),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n"
            "\"Version\"=\"4.2.0.0\"\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\800x600]\r\n"
            "\"Corbeille\"=dword:001E0014\r\n"
            "\"Coin\"=dword:00000000\r\n"
            "\"Dossier \\\"A\\\\B\\\"\"=dword:FFF6FFEC\r\n"
            "\r\n");
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_TRUE(ExportLeftNothingHeld());
}

TEST_F(ExportFile, ASaveBeforeTheExportIsInTheFile) {
  Desktop({{"Corbeille", 20, 30}});
  EXPECT_EQ(Run("/autosave /export"), 0);
  EXPECT_EQ(FileBytes(), std::string(kEmptyExport, 0, kEmptyExport.size() - 2) +
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1024x768]\r\n"
                             "\"Corbeille\"=hex:14,00,00,00,1e,00,00,00\r\n"
                             "\r\n");
}

TEST_F(ExportFile, WithoutTheProductKeyNothingHappens) {
  EXPECT_EQ(ExportRegistryFile(), kExportComplete);
  EXPECT_EQ(winsim::CountCalls("SHGetSpecialFolderLocation"), 0u);
  EXPECT_EQ(winsim::CountCalls("CreateFileA"), 0u);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_TRUE(FilesOnDrive().empty());
}

}  // namespace
