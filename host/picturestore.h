#pragma once

// The 21 tank pictures (frmImages): ftank, ctank and vtank at 0, 10, 25, 50, 75, 90 and 100 per
// cent full. Loaded on first use, released when the launcher or the tank window closes.

#include <QHash>
#include <QPixmap>
#include <QString>

class QLabel;

namespace brimwell {

class PictureStore {
public:
    enum class Size {
        Normal,  // 120 by 75
        Double,  // 240 by 150, for the tank window's picture area
    };

    // The named picture ("ftank50"); a null pixmap for a name that is not one of the 21.
    // Sharp on high-density screens too.
    QPixmap picture(const QString& name, Size size = Size::Normal);

    // Shows the named picture in the label and records its name in the label's "picture"
    // property, so the picture on show can be told by name.
    void show(QLabel* label, const QString& name, Size size = Size::Normal);

    // Forgets every loaded picture; the next use loads again.
    void release();

    bool isLoaded() const { return !pictures_.isEmpty(); }

private:
    QHash<QString, QPixmap> pictures_;
};

}  // namespace brimwell
