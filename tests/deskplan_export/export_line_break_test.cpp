// Names that a line of the export cannot carry. Found by fuzzing the export:
// a CR or LF in a value name or a layout's key name ended the line inside the
// name, and the rest of the name was read as a line of its own (another key,
// another value) by whoever imported the file. They are left out, and the
// export says it is incomplete.
#include <gtest/gtest.h>

#include "export_world.h"

namespace {

using ExportLineBreaks = ExportWorld;

TEST_F(ExportLineBreaks, AValueWhoseNameHoldsALineBreakIsLeftOut) {
  StoreBinary("1024x768", "Avant", {1, 0, 0, 0, 2, 0, 0, 0});
  StoreBinary("1024x768", "x\"=hex:00\r\n[HKEY_LOCAL_MACHINE\\Software\\Autre]\r\n\"y", {3, 0, 0, 0, 4, 0, 0, 0});
  StoreBinary("1024x768", "Seul\n", {5, 0, 0, 0, 6, 0, 0, 0});
  StoreBinary("1024x768", "\rSeul", {7, 0, 0, 0, 8, 0, 0, 0});
  StoreBinary("1024x768", "Apr\xE8s", {9, 0, 0, 0, 10, 0, 0, 0});
  EXPECT_EQ(Run("/EXPORT"), 1);
  ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
  EXPECT_EQ(winsim::MessageBoxes()[0].text, std::string("Sauvegarde incompl\xE8te dans :\r\n") + kExportPath +
                                                "\r\n\r\n3 valeurs n'ont pas pu \xEAtre lues ou \xE9"
                                                "crites et n'y figurent pas.");
  EXPECT_EQ(winsim::MessageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_EQ(FileBytes(), std::string(kEmptyExport, 0, kEmptyExport.size() - 2) +
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\1024x768]\r\n"
                             "\"Avant\"=hex:01,00,00,00,02,00,00,00\r\n"
                             "\"Apr\xE8s\"=hex:09,00,00,00,0a,00,00,00\r\n"
                             "\r\n");
  EXPECT_TRUE(ExportLeftNothingHeld());
}

TEST_F(ExportLineBreaks, ALayoutWhoseKeyNameHoldsALineBreakIsLeftOutWhole) {
  winsim::SetOsVersion(winsim::Windows98SE());
  StoreDword("800x600", "Corbeille", 0x001E0014);
  StoreDword("\rI", "Corbeille", 0x00010001);
  StoreDword("1024x768]\r\n[HKEY_LOCAL_MACHINE\\Software", "Corbeille", 0x00020002);
  EXPECT_EQ(Run("/NOPROMPT /EXPORT"), 1);
  EXPECT_TRUE(winsim::MessageBoxes().empty());
  EXPECT_EQ(FileBytes(),
            "REGEDIT4\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan]\r\n"
            "\"Version\"=\"4.2.0.0\"\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Ostrafen\\Deskplan\\800x600]\r\n"
            "\"Corbeille\"=dword:001E0014\r\n"
            "\r\n");
  EXPECT_TRUE(ExportLeftNothingHeld());
}

}  // namespace
