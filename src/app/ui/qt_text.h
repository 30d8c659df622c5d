// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include <QString>

namespace tarvelo::ui {

// The core's UTF-8 text as Qt shows it.
inline QString text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

}  // namespace tarvelo::ui
