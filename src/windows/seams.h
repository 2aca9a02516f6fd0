#pragma once

namespace quill {

class Printer;
class Prompts;
class Shell;

// The platform as the windows reach it: boxes and dialogs, the shell and the
// printer. The program passes the real ones, the tests scripted and recording ones.
struct Seams {
    Prompts &prompts;
    Shell &shell;
    Printer &printer;
};

} // namespace quill
