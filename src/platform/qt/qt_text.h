// Texts between the program (CP936 bytes) and Qt (QString).
#pragma once

#include <QString>

#include "app/types.h"
#include "platform/qt/cp936.h"

namespace quorvant {

inline QString ToQString(const Text& text) { return QString::fromStdString(Utf8FromCp936(text)); }

inline Text FromQString(const QString& text) { return Cp936FromUtf8(text.toStdString()); }

}  // namespace quorvant
