#include "book/transaction.h"

#include "book/schema.h"

namespace brimwell::book {

Done transaction(const Connection& book, Lock lock, const std::function<Done()>& work) {
    if (auto begun = Query(book).run(lock == Lock::Write ? sqliteSchema().beginWrite : "BEGIN");
        !begun) {
        return begun;
    }
    auto done = work();
    if (done) {
        done = Query(book).run("COMMIT");
    }
    if (!done) {
        (void)Query(book).run("ROLLBACK");
    }
    return done;
}

}  // namespace brimwell::book
