#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class dlgHelp;
}

namespace brimwell {

// The tank book's help: the page installed with the program (the README's part on the book),
// found beside the program as installed or as built.
class dlgHelp : public QDialog {
    Q_OBJECT

public:
    explicit dlgHelp(QWidget* parent = nullptr);
    ~dlgHelp() override;

    // Where the page is looked for: share/brimwell beside the program's folder.
    static QString pagePath();

private:
    std::unique_ptr<Ui::dlgHelp> ui_;
};

}  // namespace brimwell
