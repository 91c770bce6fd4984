#pragma once
// The end of QuarnWin's --help: where the transfer log lives, in the platform's words.

namespace quarnwin {

const char* LogNotes();

}  // namespace quarnwin
