#pragma once

#include <QDialog>
#include <memory>

#include "book/records.h"

namespace Ui {
class dlgSite;
}

namespace brimwell {

// The site the book is kept for: its name and its address of several lines, which head the
// book's printed reports. OK asks the window to keep it (`entered`); the window closes the
// dialog once it is kept, and leaves it open with what was typed when it is not.
class dlgSite : public QDialog {
    Q_OBJECT

public:
    explicit dlgSite(const book::Site& site, QWidget* parent = nullptr);
    ~dlgSite() override;

    // As typed, each line of the address without the blanks at its ends.
    book::Site site() const;

Q_SIGNALS:
    void entered();

private:
    std::unique_ptr<Ui::dlgSite> ui_;
};

}  // namespace brimwell
