// The benchmark's report: one table of costs and ratios, and notes, printed and written to a
// Markdown file.
#ifndef QUIMBO_BENCH_REPORT_H
#define QUIMBO_BENCH_REPORT_H

#include <string>
#include <vector>

#include "helpers.h"
#include "measure.h"

struct Row {
    std::string what;
    Summary cost;  // CPU time
    double wall;   // median wall time
    double ratio;
    std::string against;
    std::string target;
    int holds;  // -1 when there is no target
};

struct Report {
    std::vector<Row> frames;
    std::vector<std::string> notes;
};

std::string holdsText(int holds);
// The table and the notes, in Markdown.
std::string renderTable(const Report& report);
// The table inside the document that explains it; false when the file cannot be written.
bool writeDocument(const std::string& path, const std::string& table);

#endif
