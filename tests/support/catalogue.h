// The project's one list of data files, tools/catalogue.tsv, read by the C++ tests and the
// benchmark. The build hands over its path as QUIMBO_CATALOGUE.
#ifndef QUIMBO_TESTS_CATALOGUE_H
#define QUIMBO_TESTS_CATALOGUE_H

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct CatalogueEntry {
    std::string kind;  // "picture", "sound" or "font"
    std::string file;  // under Data/
    int frames = 0;    // a picture's frames side by side; 0 for a single picture
    int width = 0;     // the frame width, or the whole picture's; 0 where it is not fixed
    int height = 0;

    std::string path() const { return "Data/" + file; }
    // The file's own name, without its folder.
    std::string name() const { return file.substr(file.find('/') + 1); }
    bool isSheet() const { return kind == "picture" && frames > 0; }
};

// Every row of the given kind (every row when kind is empty), in the catalogue's order, which
// for pictures is the order start-up loads them in. Empty when the file cannot be read, which
// every reader treats as a failure.
inline std::vector<CatalogueEntry> readCatalogue(const std::string& kind = "",
                                                 const char* path = QUIMBO_CATALOGUE)
{
    std::vector<CatalogueEntry> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        CatalogueEntry e;
        std::getline(fields, e.kind, '\t');
        std::getline(fields, e.file, '\t');
        fields >> e.frames >> e.width >> e.height;
        if (kind.empty() || e.kind == kind)
            entries.push_back(e);
    }
    return entries;
}

#endif
