// The test shell's commands about its hostile modes (hostile_modes.h) and the
// application error box that a program ends with:
//   hostile                    -> "hostile end-after KIND K right R unterminated 0|1 extra N
//                                 zero-after K text T position P moves M counts C
//                                 emptied 0|1" (KIND none when off, R 1 when it ends
//                                 right after, zero-after -1
//                                 when off; T, P, M, C: queries answered so far)
//   hostile off                -> every mode off -> "ok"
//   hostile end-after KIND K   -> KIND text|position|move -> "ok"
//   hostile end-right-after KIND K -> "ok"
//   hostile unterminated       -> "ok"
//   hostile extra N            -> "ok"
//   hostile zero-after K       -> "ok"
//   Each mode is added to those already on, and the counters start again.
//   appbox                     -> "box TEXT" of a box captioned "Erreur
//                                 d'application" of any process (escaped like
//                                 captions), or "error no-box"
//   appanswer ID               -> that box gets the button ID -> "ok" or
//                                 "error no-box"
#pragma once

#include <string>
#include <vector>

namespace testshell {

// False when the command is none of these.
bool RunHostileCommand(const std::vector<std::string>& words, std::string& reply);

}  // namespace testshell
