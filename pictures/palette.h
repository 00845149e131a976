#pragma once

// The colours the tank pictures and the application icons share.

#include <QColor>

namespace brimwell::pictures {

inline const QColor kOutline(38, 42, 46);
inline const QColor kEmpty(Qt::white);
inline const QColor kProduct(245, 140, 30);
inline const QColor kProductSurface(196, 98, 16);
inline const QColor kSteelLight(214, 220, 226);
inline const QColor kSteelDark(126, 136, 146);
inline const QColor kFibreLight(196, 216, 198);
inline const QColor kFibreDark(112, 142, 118);
inline const QColor kConcrete(178, 176, 168);
inline const QColor kProbe(60, 66, 74);

}  // namespace brimwell::pictures
