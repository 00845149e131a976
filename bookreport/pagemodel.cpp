#include "bookreport/pagemodel.h"

namespace brimwell::bookreport {
namespace {

using Kind = Line::Kind;

bool keptWithNext(const Line& line) {
    return line.kind == Kind::Heading || line.kind == Kind::TableHead;
}

// The index of the head of the table `line` belongs to, at or before `line`.
int headOf(const Section& section, std::size_t line) {
    for (std::size_t i = line + 1; i-- > 0;) {
        if (section.lines[i].kind == Kind::TableHead &&
            section.lines[i].table == section.lines[line].table) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void paginateSection(const Document& document, std::size_t index, double room,
                     std::vector<Page>& pages) {
    const Section& section = document.sections[index];
    Page page{index, 0, 0, -1};
    double used = 0;
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        const Line& line = section.lines[i];
        // A heading or a table's head goes on a page only with the line it introduces.
        double needed = heightOf(document, line);
        for (std::size_t next = i;
             keptWithNext(section.lines[next]) && next + 1 < section.lines.size(); ++next) {
            needed += heightOf(document, section.lines[next + 1]);
        }
        if (used + needed > room && page.last > page.first) {
            pages.push_back(page);
            page = {index, i, i, -1};
            used = 0;
            if (line.kind == Kind::Row) {
                page.repeatedHead = headOf(section, i);
                used = page.repeatedHead < 0
                           ? 0
                           : heightOf(document,
                                      section.lines[static_cast<std::size_t>(page.repeatedHead)]);
            }
        }
        used += heightOf(document, line);
        page.last = i + 1;
    }
    pages.push_back(page);
}

}  // namespace

double heightOf(const Document& document, const Line& line) {
    return line.kind == Kind::Row ? line.height * document.rowScale : line.height;
}

std::vector<Page> paginate(const Document& document, double room) {
    std::vector<Page> pages;
    for (std::size_t i = 0; i < document.sections.size(); ++i) {
        paginateSection(document, i, room, pages);
    }
    return pages;
}

}  // namespace brimwell::bookreport
