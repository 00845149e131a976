#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class frmSplash;
}

namespace brimwell {

// The first window: the product's name and version, shown without a caption until its timer
// (Timer1, 2000 ms, once) unloads it.
class frmSplash : public QWidget {
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);
    ~frmSplash() override;

Q_SIGNALS:
    // The splash is going; the application shows the launcher in its place.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::frmSplash> ui_;
};

}  // namespace brimwell
