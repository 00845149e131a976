#include "windowprinting.h"

#include "host.h"

namespace brimwell {

bool printWindow(QMainWindow&, Host& host) {
    host.showMessage(nullptr, kPrintProblemMessage);
    return false;
}

}  // namespace brimwell
