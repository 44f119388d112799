#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// The pictures under a folder, by path relative to it.
QStringList pictureFiles(const QString& root)
{
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.png"), QStringLiteral("*.ico")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The PNG held by a one-image icon file.
QImage iconImage(const QString& path)
{
    const QByteArray ico = readAll(path);
    if (ico.size() < 22 || qFromLittleEndian<quint16>(ico.constData() + 2) != 1 ||
        qFromLittleEndian<quint16>(ico.constData() + 4) != 1)
        return {};
    const quint32 size = qFromLittleEndian<quint32>(ico.constData() + 14);
    const quint32 offset = qFromLittleEndian<quint32>(ico.constData() + 18);
    return QImage::fromData(ico.mid(offset, size), "PNG");
}

class AssetGenerator : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        out_ = new QTemporaryDir;
        QProcess run;
        run.start(QStringLiteral(MAKE_ASSETS_EXE), {out_->path()});
        finished_ = run.waitForFinished(60000) && run.exitStatus() == QProcess::NormalExit &&
                    run.exitCode() == 0;
    }
    static void TearDownTestSuite()
    {
        delete out_;
        out_ = nullptr;
    }

    static QTemporaryDir* out_;
    static bool finished_;
};

QTemporaryDir* AssetGenerator::out_ = nullptr;
bool AssetGenerator::finished_ = false;

} // namespace

TEST_F(AssetGenerator, WritesTheSameFileSetAsCommitted)
{
    ASSERT_TRUE(finished_);
    const QStringList made = pictureFiles(out_->path());
    EXPECT_EQ(made.size(), 6 + 34 + 34 + 2);
    EXPECT_EQ(made, pictureFiles(QStringLiteral(ASSETS_DIR)));
}

TEST_F(AssetGenerator, DrawsTheCommittedPicturesPixelForPixel)
{
    ASSERT_TRUE(finished_);
    for (const QString& file : pictureFiles(out_->path())) {
        if (file.endsWith(QLatin1String(".ico")))
            continue;
        SCOPED_TRACE(file.toStdString());
        const QImage made(out_->filePath(file));
        const QImage committed(QStringLiteral(ASSETS_DIR "/") + file);
        ASSERT_FALSE(committed.isNull());
        ASSERT_EQ(made.format(), committed.format());
        EXPECT_EQ(made, committed);
    }
}

TEST_F(AssetGenerator, IconFileHoldsTheIconPicture)
{
    ASSERT_TRUE(finished_);
    const QImage png(QStringLiteral(ASSETS_DIR "/icon.png"));
    const QImage ico = iconImage(QStringLiteral(ASSETS_DIR "/icon.ico"));
    ASSERT_FALSE(ico.isNull());
    EXPECT_EQ(ico.convertToFormat(QImage::Format_RGB32), png.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(iconImage(out_->filePath(QStringLiteral("icon.ico"))), ico);
}
