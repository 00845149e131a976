// brimwell-book's site: the name and address the book is kept for, shown or set.

#include <string>

#include "cli/bookcommand.h"

namespace brimwell::bookcli {

namespace {

constexpr const char* kAddressIndent = "         ";

void printSite(const book::Site& site, std::ostream& out) {
    out << "name:    " << site.name << "\naddress: ";
    for (const char c : site.address) {
        out << c;
        if (c == '\n') {
            out << kAddressIndent;
        }
    }
    out << '\n';
}

}  // namespace

// With --name or --address it sets what they give (an empty text removes it); without, it shows
// the site.
Status site(const Request& request, const Context& context) {
    const auto& values = request.options.values;
    const auto name = values.find("--name");
    const auto address = values.find("--address");
    const book::Site given{name == values.end() ? "" : name->second,
                           address == values.end() ? "" : address->second};
    if (const auto refused = book::siteRefusal(given)) {
        return context.complain(*refused, kBookBadInput);
    }
    const auto store = context.open();
    if (!store) {
        return kBookWriteFailed;
    }
    if (values.empty()) {
        const auto stored = store->site();
        if (!stored) {
            return context.complain(stored.error(), kBookWriteFailed);
        }
        printSite(*stored, context.out);
        return kBookDone;
    }
    book::Site site;
    // Read and written under one lock, so that an address set meanwhile is not undone.
    const auto done = store->together([&]() -> Expected<void, std::string> {
        auto stored = store->site();
        if (!stored) {
            return Unexpected(stored.error());
        }
        site = *stored;
        site.name = name == values.end() ? site.name : given.name;
        site.address = address == values.end() ? site.address : given.address;
        return store->setSite(site);
    });
    if (!done) {
        return context.complain(done.error(), kBookWriteFailed);
    }
    printSite(site, context.out);
    return kBookDone;
}

}  // namespace brimwell::bookcli
