// What Cleanslate says, byte for byte (Windows-1252), and the system's text
// after a failure.
#include "cleanslate/reset_messages.h"

#include <sstream>

#include "reset_world.h"

namespace {

class ResetMessagesTest : public ResetWorld {};

std::vector<std::string> Lines(const std::string &text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

TEST_F(ResetMessagesTest, ConfirmationHasElevenLinesAndNoLineEndAfterTheLast) {
  auto lines = Lines(kConfirmationText);
  ASSERT_EQ(11u, lines.size());
  EXPECT_EQ(0u, lines[0].find("Cleanslate 1.2.0.0 - "));
  EXPECT_GT(lines[0].size(), std::string("Cleanslate 1.2.0.0 - ").size());
  EXPECT_EQ("Compatible Windows XP-Vista-7 x86-x64", lines[1]);
  EXPECT_EQ("", lines[2]);
  EXPECT_EQ("Cet utilitaire permet de r\xE9initialiser compl\xE8tement le bureau", lines[3]);
  EXPECT_EQ("et ses options. Les ic\xF4nes du bureau ne sont pas supprim\xE9" "es,", lines[4]);
  EXPECT_EQ("mais elles seront replac\xE9" "es \xE0 gauche de l'\xE9" "cran.", lines[5]);
  EXPECT_EQ("", lines[6]);
  EXPECT_EQ("Veuillez fermer les applications et enregister votre travail.", lines[7]);
  EXPECT_EQ("La session en cours va \xEAtre automatiquement ferm\xE9" "e.", lines[8]);
  EXPECT_EQ("", lines[9]);
  EXPECT_EQ("Voulez-vous r\xE9initialiser le bureau avec ses options par d\xE9" "faut ?", lines[10]);
}

TEST_F(ResetMessagesTest, FixedMessagesAreTheSystemsOwnBytes) {
  EXPECT_EQ("Le logiciel n'est pas compatible avec ce syst\xE8me d'exploitation.", std::string(kSystemTooOldText));
  EXPECT_EQ("Le bureau a \xE9t\xE9 r\xE9initialis\xE9 avec succ\xE8s !\r\n\r\nD\xE9placez une ic\xF4ne et appuyez sur "
            "la touche F5\r\nAppuyez sur Ok pour fermer ensuite la session.",
            std::string(kResetSuccessText));
  EXPECT_EQ("Explorer n'a pas pu \xEAtre ferm\xE9. Red\xE9marrez la session.", std::string(kShellNotEndedText));
  EXPECT_EQ("Cleanslate", std::string(kResetCaption));
}

TEST_F(ResetMessagesTest, FailureTextEndsWithTheSystemsTextCutAfterItsLastWord) {
  winsim::SetSystemMessage(2, "Le fichier sp\xE9" "cifi\xE9 est introuvable.  \r\n");
  EXPECT_EQ("La r\xE9initialisation a \xE9" "chou\xE9 avec le status :\r\nLe fichier sp\xE9" "cifi\xE9 est introuvable",
            ResetFailureText(2));
  auto call = winsim::CallsTo("FormatMessageA");
  ASSERT_EQ(1u, call.size());
  EXPECT_EQ("2|12800", call[0].detail);
}

TEST_F(ResetMessagesTest, WithoutASystemTextNothingFollowsTheStatusLine) {
  winsim::RemoveSystemMessage(1234);
  EXPECT_EQ("La r\xE9initialisation a \xE9" "chou\xE9 avec le status :\r\n", ResetFailureText(1234));
  // A text longer than the 256 characters of the buffer is not given either.
  winsim::SetSystemMessage(1235, std::string(300, 'x'));
  EXPECT_EQ("La r\xE9initialisation a \xE9" "chou\xE9 avec le status :\r\n", ResetFailureText(1235));
}

TEST_F(ResetMessagesTest, BoxesHaveNoOwnerAndTheProgramsCaption) {
  winsim::AnswerMessageBoxes({IDNO});
  EXPECT_EQ(IDNO, ShowResetBox("Texte", MB_YESNO | MB_ICONQUESTION));
  auto boxes = winsim::MessageBoxes();
  ASSERT_EQ(1u, boxes.size());
  EXPECT_EQ(nullptr, boxes[0].owner);
  EXPECT_EQ("Cleanslate", boxes[0].caption);
  EXPECT_EQ(0x24u, boxes[0].type);
}

}  // namespace
