#pragma once

#include <QString>

class QImage;

/// Writes the image as a GIF89a file with a palette of sixteen greys; every
/// pixel takes the grey nearest to its own brightness. On failure returns
/// false and says why in error.
bool WriteGreyGif(const QImage& image, const QString& path, QString& error);
