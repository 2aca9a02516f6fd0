#pragma once

namespace quill {

class Printer;
class Prompts;
class RandomSource;
class Shell;
class SysInfoPlatform;

// The platform as the windows reach it: boxes and dialogs, the shell, the printer and
// the random generator. The program passes the real ones, the tests scripted and
// recording ones.
struct Seams {
    Prompts &prompts;
    Shell &shell;
    Printer &printer;
    RandomSource &random;
    // What the About box tells about the machine; none: the machine's own.
    const SysInfoPlatform *sysInfo = nullptr;
};

} // namespace quill
