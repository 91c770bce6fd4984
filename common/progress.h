#pragma once
// How far a long transfer has come, as the core reports it to a front end: what moves, how
// much of it has gone and how much there is, and the status line's text for it. A front end
// may draw a bar from the numbers or rewrite one line; none has to read the text to know that
// it is progress.
#include <string>

namespace common {

struct Progress {
    std::string label;   // what moves: a module's name, "Text page"
    long done = 0;       // bytes so far; for pages, the number of the page just sent
    long total = 0;      // bytes in all; 0 where the end is not known
    std::string status;  // the status line's text, exactly as the program shows it
};

}  // namespace common
