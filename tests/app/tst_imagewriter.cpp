#include <unistd.h>

#include <QImage>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "casefile/TCaseWriter.h"
#include "model/TCase.h"
#include "model/TGoal.h"
#include "model/TTag.h"
#include "qtgui/TQtImageWriter.h"
#include "support/TestPlatform.h"

namespace fs = std::filesystem;
using kavo::test::TMessage;

namespace {

// A case in a recording context, with a scratch folder that is removed afterwards.
struct TScratchCase : kavo::test::TCaseFixture {
    TScratchCase() {
        fs::remove_all(Folder);
        fs::create_directories(Folder);
    }
    ~TScratchCase() { fs::remove_all(Folder); }

    std::vector<std::string> Errors() const {
        std::vector<std::string> texts;
        for (const TMessage& message : Messages.Log) {
            if (message.Kind == TMessage::Kind::Error) {
                texts.push_back(message.Text);
            }
        }
        return texts;
    }

    // Of this process alone, so that test runs side by side do not share it.
    const fs::path Folder =
        fs::temp_directory_path() / ("kavo-imagewriter-" + std::to_string(getpid()));
    const std::string Images = (Folder / "gif").string() + "/";
};

QImage Read(const std::string& path) {
    return QImage(QString::fromStdString(path));
}

bool IsTransparent(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y)) == 0;
}

}  // namespace

class TImageWriterTest : public QObject {
    Q_OBJECT

  private slots:
    void caseWithoutTagsWritesNotagOnly();
    void emptyAnalystViewIsOnePixel();
    void fixedIconsAreOpaqueExceptOperators();
    void folderThatCannotBeMadeStopsImagesNotTheDocument();
    void failedImageIsNamedAndTheOthersAreWritten();
    void threeTagsShareTheIconInStripes();
    void reportIconIsWrittenOncePerFolder();
};

void TImageWriterTest::caseWithoutTagsWritesNotagOnly() {
    TScratchCase scratch;
    kavo::TQtImageWriter writer(scratch.Messages);
    writer.WriteImages(scratch.Case, scratch.Images);
    QVERIFY(fs::exists(scratch.Images + "notag.gif"));
    QVERIFY(!fs::exists(scratch.Images + "tag0.gif"));
    scratch.Case.FindOrCreateTag("Water");
    writer.WriteImages(scratch.Case, scratch.Images);
    QCOMPARE(Read(scratch.Images + "tag0.gif").size(), QSize(16, 16));
    QVERIFY(scratch.Errors().empty());
}

void TImageWriterTest::emptyAnalystViewIsOnePixel() {
    TScratchCase scratch;
    scratch.Case.FindOrCreateArena("Valley");
    kavo::TQtImageWriter writer(scratch.Messages);
    writer.WriteImages(scratch.Case, scratch.Images);
    QCOMPARE(Read(scratch.Images + "aview0.gif").size(), QSize(1, 1));
}

void TImageWriterTest::fixedIconsAreOpaqueExceptOperators() {
    TScratchCase scratch;
    kavo::TQtImageWriter writer(scratch.Messages);
    writer.WriteImages(scratch.Case, scratch.Images);
    const QImage operatorIcon = Read(scratch.Images + "fipag1.gif");
    QCOMPARE(operatorIcon.size(), QSize(24, 16));
    QVERIFY(IsTransparent(operatorIcon, 0, 0));
    QVERIFY(!IsTransparent(operatorIcon, 1, 8));
    for (const char* name : {"case", "notag", "gc0p0", "l0u0", "r0-0", "art0s1"}) {
        const QImage icon = Read(scratch.Images + name + ".gif");
        QVERIFY2(!icon.isNull(), name);
        QVERIFY2(!IsTransparent(icon, 0, 0), name);
    }
    QCOMPARE(fs::status(scratch.Images + "case.gif").permissions() & fs::perms::others_read,
             fs::perms::others_read);
}

void TImageWriterTest::folderThatCannotBeMadeStopsImagesNotTheDocument() {
    TScratchCase scratch;
    // A file where the image folder should be.
    std::ofstream(scratch.Folder / "gif") << "in the way";
    scratch.Case.Modified = true;
    kavo::TQtImageWriter writer(scratch.Messages);
    QVERIFY(kavo::TCaseWriter(scratch.Case, writer).Save(scratch.Folder.string()));
    const std::vector<std::string> errors = scratch.Errors();
    QCOMPARE(errors.size(), std::size_t{1});
    QVERIFY2(errors[0].starts_with("Could not create folder for images \"" +
                                   (scratch.Folder / "gif").string() + "\": "),
             errors[0].c_str());
    QVERIFY(fs::exists(scratch.Folder / "KAVO case.htm"));
    // The save is not complete: the case stays modified.
    QVERIFY(scratch.Case.Modified);
}

void TImageWriterTest::failedImageIsNamedAndTheOthersAreWritten() {
    TScratchCase scratch;
    // A folder where an image should go makes its writing fail, whoever runs the test.
    fs::create_directories(scratch.Images + "case.gif");
    scratch.Case.Modified = true;
    kavo::TQtImageWriter writer(scratch.Messages);
    QVERIFY(kavo::TCaseWriter(scratch.Case, writer).Save(scratch.Folder.string()));
    QCOMPARE(scratch.Errors(),
             std::vector<std::string>{"Error while writing to file \"" + scratch.Images +
                                      "case.gif\": Is a directory"});
    for (const char* name : {"notag", "arena", "fipag3", "gc3p3"}) {
        QVERIFY2(fs::file_size(scratch.Images + name + ".gif") > 0, name);
    }
    QVERIFY(scratch.Case.Modified);
    QCOMPARE(scratch.Case.Folder, scratch.Folder.string() + "/");
    // Nothing half written is left behind.
    for (const auto& entry : fs::directory_iterator(scratch.Images)) {
        QVERIFY2(!entry.path().filename().string().starts_with("."), entry.path().string().c_str());
    }
    const auto failure =
        writer.WriteCustomGoalIcon(kavo::TGoal(nullptr, {}), scratch.Images + "case.gif");
    QVERIFY(failure.has_value());
    QVERIFY(failure->ends_with("case.gif\": Is a directory"));
}

void TImageWriterTest::threeTagsShareTheIconInStripes() {
    TScratchCase scratch;
    std::vector<kavo::TTag*> tags;
    for (const auto& [name, light] : {std::pair{"Red", 0x0000FFu}, std::pair{"Green", 0x00FF00u},
                                      std::pair{"Blue", 0xFF0000u}}) {
        kavo::TTag* tag = scratch.Case.FindOrCreateTag(name);
        tag->LightColor = light;
        tags.push_back(tag);
    }
    fs::create_directories(scratch.Images);
    kavo::TQtImageWriter writer(scratch.Messages);
    writer.WriteCombinedTagIcon(tags, scratch.Images + "tag_0_1_2.gif");
    const QImage icon = Read(scratch.Images + "tag_0_1_2.gif");
    QCOMPARE(icon.size(), QSize(16, 16));
    QVERIFY(IsTransparent(icon, 0, 0));
    // Row 7 of the template is light from column 1 to 3 and from 6 to 12.
    const struct {
        int Column;
        QRgb Colour;
    } expected[] = {{2, qRgb(255, 0, 0)}, {3, qRgb(255, 0, 0)},  {6, qRgb(0, 255, 0)},
                    {9, qRgb(0, 255, 0)}, {10, qRgb(0, 0, 255)}, {12, qRgb(0, 0, 255)}};
    for (const auto& pixel : expected) {
        QCOMPARE(icon.pixel(pixel.Column, 7) & 0xFFFFFF, pixel.Colour & 0xFFFFFF);
    }
}

void TImageWriterTest::reportIconIsWrittenOncePerFolder() {
    TScratchCase scratch;
    kavo::TQtImageWriter writer(scratch.Messages);
    const kavo::TLevels<double> vector{{0, 0.1, 0.2, 0.4, 0.2, 0.1, 0}};
    writer.WriteHistogramIcon(scratch.Context, scratch.Images, "h1", vector);
    QCOMPARE(Read(scratch.Images + "h1.gif").size(), QSize(21, 16));
    QVERIFY(IsTransparent(Read(scratch.Images + "h1.gif"), 0, 0));
    fs::remove(scratch.Images + "h1.gif");
    writer.WriteHistogramIcon(scratch.Context, scratch.Images, "h1", vector);
    QVERIFY(!fs::exists(scratch.Images + "h1.gif"));
    const std::string other = (scratch.Folder / "other" / "gif").string() + "/";
    writer.WriteHistogramIcon(scratch.Context, other, "h1", vector);
    QVERIFY(fs::exists(other + "h1.gif"));
}

QTEST_MAIN(TImageWriterTest)
#include "tst_imagewriter.moc"
