// The pictures the program carries, decoded without Qt, are exactly what Qt
// reads from the committed files.

#include "assets/assets.h"
#include "assets/embedded.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace soramado;

namespace {

QByteArray committed(const std::string& name)
{
    QFile file(QStringLiteral(ASSETS_DIR "/") + QString::fromStdString(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(EmbeddedPictures, AreTheCommittedFilesByteForByte)
{
    ASSERT_EQ(assets::EmbeddedFileCount, 6u + 34u + 34u + 1u);
    for (std::size_t i = 0; i < assets::EmbeddedFileCount; ++i) {
        const assets::EmbeddedFile& file = assets::EmbeddedFiles[i];
        SCOPED_TRACE(file.name);
        const QByteArray bytes = committed(file.name);
        ASSERT_FALSE(bytes.isEmpty());
        ASSERT_EQ(std::size_t(bytes.size()), file.size);
        EXPECT_EQ(0, std::memcmp(bytes.constData(), file.data, file.size));
    }
}

TEST(EmbeddedPictures, DecodeToQtsPixels)
{
    for (std::size_t i = 0; i < assets::EmbeddedFileCount; ++i) {
        const assets::EmbeddedFile& file = assets::EmbeddedFiles[i];
        SCOPED_TRACE(file.name);
        const Picture decoded = assets::decodePng({file.data, file.size});
        const QImage expected =
            QImage::fromData(committed(file.name), "PNG").convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(decoded.width(), expected.width());
        ASSERT_EQ(decoded.height(), expected.height());
        for (int y = 0; y < expected.height(); ++y)
            ASSERT_EQ(0, std::memcmp(decoded.row(y), expected.constScanLine(y),
                                     4 * std::size_t(expected.width())))
                << "row " << y;
    }
}

TEST(EmbeddedPictures, BrokenOrMissingBytesDecodeToNothing)
{
    EXPECT_TRUE(assets::decodePng({}).isNull());
    const unsigned char notPng[] = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
    EXPECT_TRUE(assets::decodePng(notPng).isNull());
    // A PNG cut short after its header.
    const assets::EmbeddedFile& first = assets::EmbeddedFiles[0];
    EXPECT_TRUE(assets::decodePng({first.data, 40}).isNull());
    EXPECT_TRUE(assets::embeddedFile("view/7.png").empty());
}

} // namespace
