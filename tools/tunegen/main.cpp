// Writes the program's background tunes as Standard MIDI Files.
#include "composer.h"

#include <iostream>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: tunegen OUTPUT_DIR\n";
        return 2;
    }
    const std::string dir = argv[1];
    for (const TuneDesign &design : tuneDesigns()) {
        const std::string path = dir + "/" + design.fileName + ".mid";
        if (!writeSmfFile(path, composeTune(design), TicksPerQuarter)) {
            std::cerr << "tunegen: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
