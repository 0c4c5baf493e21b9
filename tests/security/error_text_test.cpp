#include "security/error_text.h"

#include <gtest/gtest.h>

#include "winsim/machine.h"
#include "winsim/trace.h"

namespace {

class ErrorTextTest : public ::testing::Test {
 protected:
  void SetUp() override { winsim::Reset(); }
};

TEST_F(ErrorTextTest, SystemTextOnOneLine) {
  winsim::SetSystemMessage(5, "Accès\r\nrefusé.\r\n");
  EXPECT_EQ("Accès refusé. ", ErrorText(5));
  EXPECT_EQ(0, winsim::LiveLocalAllocations());
  auto calls = winsim::CallsTo("FormatMessageA");
  ASSERT_EQ(1u, calls.size());
  EXPECT_EQ("5|" + std::to_string(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                   FORMAT_MESSAGE_FROM_SYSTEM),
            calls[0].detail);
}

TEST_F(ErrorTextTest, UnknownCodeGivesPrefixAndHexadecimal) {
  EXPECT_EQ("Erreur inconnue $10abc", ErrorText(0x10ABC));
}

TEST_F(ErrorTextTest, NetworkCodesAskTheMessageModuleAndFreeIt) {
  winsim::SetModuleMessage("netmsg.dll", 2221, "Le nom d'utilisateur est introuvable.\r\n");
  EXPECT_EQ("Le nom d'utilisateur est introuvable. ", ErrorText(2221));
  EXPECT_EQ(1u, winsim::CountCalls("LoadLibraryExA"));
  EXPECT_EQ("netmsg.dll|" + std::to_string(LOAD_LIBRARY_AS_DATAFILE), winsim::CallsTo("LoadLibraryExA")[0].detail);
  EXPECT_EQ(0, winsim::LoadedLibraryReferences());
  ErrorText(2000);
  EXPECT_EQ(1u, winsim::CountCalls("LoadLibraryExA"));
}

TEST_F(ErrorTextTest, MissingMessageModuleFallsBackToTheSystem) {
  winsim::SetLoadLibraryResult("netmsg.dll", 0);
  winsim::SetSystemMessage(2221, "Texte du système.\r\n");
  EXPECT_EQ("Texte du système. ", ErrorText(2221));
  EXPECT_EQ(0u, winsim::CountCalls("FreeLibrary"));
}

TEST_F(ErrorTextTest, StatusCodesAreTranslatedFirst) {
  EXPECT_EQ(ErrorText(5), ErrorText(0xC0000022u));
  EXPECT_EQ(ErrorText(87), ErrorText(0x80070057u));
}

TEST_F(ErrorTextTest, UntranslatableCodesKeepTheirNumber) {
  EXPECT_EQ("Erreur inconnue $80004002", ErrorText(0x80004002u));
  winsim::RemoveExport("ntdll.dll", "RtlNtStatusToDosError");
  EXPECT_EQ("Erreur inconnue $c0000022", ErrorText(0xC0000022u));
}

}  // namespace
