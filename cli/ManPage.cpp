// kq517_manpage: prints the manual page's COMMANDS section (with "commands")
// or OPTIONS section (with "options") as groff, made from the verb records,
// for the packaging step that fills the page's template.

#include <cstdio>
#include <cstring>

#include "cli/Help.h"

int main(int argc, char** argv)
{
    if (argc != 2 || (std::strcmp(argv[1], "commands") != 0 && std::strcmp(argv[1], "options") != 0)) {
        std::fputs("usage: kq517_manpage commands|options\n", stderr);
        return 2;
    }
    const QString text = std::strcmp(argv[1], "commands") == 0 ? manCommands() : manOptions();
    std::fputs(text.toUtf8().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
