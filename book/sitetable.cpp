// The site the book is kept for: its name and address, rows of book_meta, absent when not given.

#include "book/rows.h"
#include "book/storecall.h"

namespace brimwell::book {
namespace {

constexpr std::string_view kSiteName = "site_name";
constexpr std::string_view kSiteAddress = "site_address";

// Replaces the entry, or removes it for an empty text.
Done writeEntry(const Connection& book, std::string_view name, const std::string& value) {
    if (auto removed = Query(book).run("DELETE FROM book_meta WHERE name = ?", {text(name)});
        !removed || value.empty()) {
        return removed;
    }
    return Query(book).run("INSERT INTO book_meta (name, value) VALUES (?, ?)",
                           {text(name), text(value)});
}

}  // namespace

Expected<Site, std::string> Store::site() {
    return call(Lock::Read, [&]() -> Expected<Site, std::string> {
        const auto rows =
            selectRows(book_, "SELECT name, value FROM book_meta WHERE name = ? OR name = ?",
                       {text(kSiteName), text(kSiteAddress)}, [](const QSqlQuery& row) {
                           return std::pair{textIn(row, "name"), textIn(row, "value")};
                       });
        if (!rows) {
            return Unexpected(rows.error());
        }
        Site site;
        for (const auto& [name, value] : *rows) {
            (name == kSiteName ? site.name : site.address) = value;
        }
        return site;
    });
}

Done Store::setSite(const Site& site) {
    return call(Lock::Write, [&]() -> Done {
        auto done = writeEntry(book_, kSiteName, site.name);
        return done ? writeEntry(book_, kSiteAddress, site.address) : done;
    });
}

}  // namespace brimwell::book
