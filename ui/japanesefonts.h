#pragma once

#include <QFont>
#include <QString>

// The stored font names are those of the original desktop ("ＭＳ Ｐゴシック"); fontconfig does
// not always know them. This maps each to the IPA font of the same kind, so Japanese text is
// drawn with a real Japanese face. Call once, after the application object exists.
void installJapaneseFontSubstitutes();

// The font a settings record names (face, size in points, bold, italic).
QFont fontFromSetting(const QString &name, double pointSize, bool bold, bool italic);
