#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace quill {

// The widest and tallest picture the decoder accepts: the program's pictures are a
// few hundred pixels across, and a header claiming more is a bad stream.
inline constexpr int JpegMaxSide = 4096;

// Decodes an in-memory JPEG stream with libjpeg. A bad, truncated or oversized
// stream gives a null image; nothing is printed and the program goes on.
QImage decodeJpeg(QByteArrayView stream);

// The JPEG picture compiled into the program under `resource` (":/about.jpg"),
// decoded; a null image when it is missing or bad.
QImage jpegResource(const QString &resource);

} // namespace quill
