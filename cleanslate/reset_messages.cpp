#include "cleanslate/reset_messages.h"

#include "common/system_message.h"

const char kResetCaption[] = "Cleanslate";

const char kConfirmationText[] =
    "Cleanslate 1.2.0.0 - Réinitialisation du bureau\r\n"
    "Compatible Windows XP-Vista-7 x86-x64\r\n"
    "\r\n"
    "Cet utilitaire permet de réinitialiser complètement le bureau\r\n"
    "et ses options. Les icônes du bureau ne sont pas supprimées,\r\n"
    "mais elles seront replacées à gauche de l'écran.\r\n"
    "\r\n"
    "Veuillez fermer les applications et enregister votre travail.\r\n"
    "La session en cours va être automatiquement fermée.\r\n"
    "\r\n"
    "Voulez-vous réinitialiser le bureau avec ses options par défaut ?";

const char kSystemTooOldText[] = "Le logiciel n'est pas compatible avec ce système d'exploitation.";

const char kResetSuccessText[] =
    "Le bureau a été réinitialisé avec succès !\r\n\r\n"
    "Déplacez une icône et appuyez sur la touche F5\r\n"
    "Appuyez sur Ok pour fermer ensuite la session.";

const char kShellNotEndedText[] = "Explorer n'a pas pu être fermé. Redémarrez la session.";

namespace {

const DWORD kMessageFlags =
    FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY;
const DWORD kMessageCapacity = 256;

}  // namespace

std::string ResetFailureText(DWORD code) {
  return "La réinitialisation a échoué avec le status :\r\n" +
         SystemMessageWithoutStops(code, kMessageFlags, kMessageCapacity);
}

int ShowResetBox(const std::string &text, UINT style) {
  return MessageBoxA(nullptr, text.c_str(), kResetCaption, style);
}
