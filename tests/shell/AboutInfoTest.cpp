// The about box on its JPEG picture, the Info window's texts word for word,
// both releasing themselves when closed; the picture decoder on bad data.
#include <QApplication>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/FakePlatform.h"
#include "shell/About.h"
#include "shell/JpegImage.h"
#include "shell/Size.h"
#include "support/TestSupport.h"

namespace {

using namespace kestrix::test;

// Deletes what asked to be deleted later (a form released on close).
void RunDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The captions of the labels inside a group, top to bottom.
QStringList LabelTexts(const QWidget* group)
{
    QList<TLabel*> labels = group->findChildren<TLabel*>(QString(), Qt::FindDirectChildrenOnly);
    std::sort(labels.begin(), labels.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
    QStringList texts;
    for (const TLabel* l : labels)
        texts << l->Caption();
    return texts;
}

class AboutInfoTest : public ::testing::Test {
protected:
    FakePlatform fake; // screen 1024 x 768
    ScopedPlatform scope{fake};
};

TEST_F(AboutInfoTest, JpegDecoderGivesThePictureOrNothing)
{
    const QByteArray jpeg = TAboutForm::BuiltInPicture();
    ASSERT_FALSE(jpeg.isEmpty());
    const QImage img = DecodeJpeg(jpeg);
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(115, 147));
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    // The sky at the top is dark blue, the ground at the bottom orange:
    // red, green and blue come out in their places.
    const QRgb top = img.pixel(3, 1), bottom = img.pixel(3, 145);
    EXPECT_GT(qBlue(top), qRed(top));
    EXPECT_GT(qRed(bottom), qBlue(bottom));
    EXPECT_EQ(qAlpha(top), 255);

    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    static const char notAPicture[] = "\xFF\xD8\xFF\xE0 not a picture";
    EXPECT_TRUE(DecodeJpeg(QByteArray(notAPicture, sizeof notAPicture - 1)).isNull());
    EXPECT_TRUE(DecodeJpeg(jpeg.left(jpeg.size() / 2)).isNull()); // cut short
    QByteArray damaged = jpeg;
    for (int i = int(damaged.size()) / 2; i < damaged.size() - 2; i += 7)
        damaged[i] = char(0xFF);
    EXPECT_NO_FATAL_FAILURE(DecodeJpeg(damaged));
}

TEST_F(AboutInfoTest, AboutBoxHasItsLayoutAndLinks)
{
    auto* box = new TAboutForm;
    EXPECT_EQ(box->Caption(), QStringLiteral("About - Kestrix"));
    EXPECT_EQ(box->size(), QSize(395, 171));
    EXPECT_EQ(box->pos(), QPoint(512 - 197, 384 - 85));
    EXPECT_FALSE(box->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(box->Image1->geometry(), QRect(8, 8, 115, 147));
    EXPECT_EQ(box->Image1->Picture().size(), QSize(115, 147));
    EXPECT_EQ(box->ProLabel1->Caption(), QStringLiteral("Kestrix"));
    EXPECT_EQ(box->ProLabel1->geometry(), QRect(167, 4, 165, 37));
    EXPECT_EQ(box->ProLabel1->FontColor(), clRed);
    EXPECT_EQ(box->ProLabel1->HighlightDirection(), TDirection::drUpLeft);
    EXPECT_EQ(box->ProLabel1->ShadowDirection(), TDirection::drRight);
    EXPECT_EQ(box->ProLabel1->ShadowColor(), clBlack);
    EXPECT_EQ(box->Label1->Caption(), QStringLiteral("Version 4.0"));
    EXPECT_EQ(box->Label1->pos(), QPoint(213, 44));
    EXPECT_EQ(box->ProUrlLabel1->Caption(), QStringLiteral("kestrix@example.org"));
    EXPECT_EQ(box->ProUrlLabel1->URL(), QStringLiteral("Mailto:kestrix@example.org"));
    EXPECT_EQ(box->ProUrlLabel2->URL(), box->ProUrlLabel2->Caption() + QLatin1Char('/'));
    EXPECT_EQ(box->ProUrlLabel2->VisitedColor(), clLime);
    EXPECT_EQ(box->OKBut->geometry(), QRect(209, 140, 73, 23));
    EXPECT_EQ(box->ProPanel1->geometry(), QRect(354, 4, 34, 34));
    // Plain white behind everything.
    const QImage shot = Render(box);
    EXPECT_EQ(PixelAt(shot, 140, 160), clWhite);
    EXPECT_EQ(PixelAt(shot, 390, 166), clWhite);
    delete box;
}

TEST_F(AboutInfoTest, ClosedAboutBoxIsReleasedAndTheNextOneIsNew)
{
    // The program hands links to the platform's shell "open".
    SetDefaultUrlOpener([](const QString& target) { return CurrentPlatform().ShellOpen(target); });
    QPointer<TAboutForm> first = new TAboutForm;
    first->show();
    QTest::mouseClick(first->ProUrlLabel2, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(first->ProUrlLabel2->Visited());
    EXPECT_EQ(fake.Opened, QStringList{QStringLiteral("https://kestrix.example.org/")});
    QTest::mouseClick(first->OKBut, Qt::LeftButton);
    RunDeferredDeletes();
    EXPECT_TRUE(first.isNull());

    QPointer<TAboutForm> second = new TAboutForm;
    EXPECT_FALSE(second->ProUrlLabel2->Visited());
    second->show();
    second->close(); // the close box
    RunDeferredDeletes();
    EXPECT_TRUE(second.isNull());
    SetDefaultUrlOpener(nullptr);
}

TEST_F(AboutInfoTest, CorruptPictureGivesABoxWithoutPicture)
{
    TAboutForm box(QByteArray("\xFF\xD8 broken", 9));
    EXPECT_TRUE(box.Image1->Picture().isNull());
    EXPECT_EQ(box.ProLabel1->Caption(), QStringLiteral("Kestrix"));
    EXPECT_EQ(PixelAt(Render(&box), 60, 80), clWhite);
}

TEST_F(AboutInfoTest, InfoWindowShowsEveryTextWordForWord)
{
    TInfoForm info;
    EXPECT_EQ(info.Caption(), QStringLiteral("Info"));
    EXPECT_EQ(info.size(), QSize(557, 330));
    EXPECT_EQ(info.pos(), QPoint(512 - 278, 384 - 165));
    EXPECT_TRUE(info.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(info.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(info.testAttribute(Qt::WA_QuitOnClose));

    EXPECT_EQ(info.ProPanel1->geometry(), QRect(6, 6, 543, 155));
    EXPECT_EQ(info.ProPanel2->geometry(), QRect(6, 168, 224, 157));
    EXPECT_EQ(info.ProPanel3->geometry(), QRect(240, 168, 286, 157));
    EXPECT_EQ(info.CloseBut->geometry(), QRect(528, 232, 25, 23));
    EXPECT_EQ(info.ProPanel2->BorderColor(), clBlack);

    EXPECT_EQ(info.GroupBox1->Caption(),
              QStringLiteral("Standard cluster sizes and corresponding supported drive sizes (approx)  "));
    EXPECT_EQ(info.GroupFat16->Caption(), QStringLiteral(" FAT 16 "));
    EXPECT_EQ(info.GroupFat32->Caption(), QStringLiteral(" FAT32 "));
    EXPECT_EQ(info.GroupNtfs->Caption(), QStringLiteral("NTFS  (NT 3.51 and above)"));
    EXPECT_EQ(info.GroupMeasures->Caption(), QStringLiteral(" Measures "));
    EXPECT_EQ(info.GroupWasted->Caption(), QStringLiteral("What is wasted space?"));

    EXPECT_EQ(LabelTexts(info.GroupFat16),
              (QStringList{"16 - 127  MB =   2 KB", "128 - 255  MB =   4 KB", "256 - 511  MB =   8 KB",
                           "512 - 1023  MB = 16 KB", "1024 - 2047  MB = 32 KB"}));
    EXPECT_EQ(LabelTexts(info.GroupFat32),
              (QStringList{"< 512 MB not supported", "512 - 8191 MB =   4 KB", "8192 - 16383 MB =   8 KB",
                           "16384 - 32767 MB = 16 KB", "> 32 GB = 32 KB"}));
    EXPECT_EQ(LabelTexts(info.GroupNtfs), (QStringList{"< 512 MB =   0.5 KB", "512 - 1024 MB =   1 KB",
                                                       "1025 - 2048 MB =   2 KB", "> 2049 MB =   4 KB"}));
    EXPECT_EQ(LabelTexts(info.GroupMeasures),
              (QStringList{"4 Bits = 1 Nibble", "2 Nibbles = 1 Byte", "8 Bits = 1 Byte",
                           "1024 Bytes = 1 Kilobyte  (KB)", "1024 Kilobytes = 1 Megabyte  (MB)",
                           "1024 Megabytes = 1 Gigabyte  (GB)", "1024 Gigabytes = 1 Terabyte  (TB)"}));
    EXPECT_EQ(info.Memo1->Lines(),
              (QStringList{"Wasted space is the difference between the ",
                           "total size of your files and the space that ",
                           "Windows allocates for them on your hard disk.",
                           "",
                           "Windows stores files in little blocks called  ",
                           "clusters that vary in size depending on the ",
                           "size of the partition. If a file fills, for example, ",
                           "three and one half clusters, the rest of that ",
                           "half cluster is wasted space.",
                           "",
                           "Think of a pile of boxes in a warehouse, the ",
                           "empty space inside the boxes surrounding ",
                           "their contents is wasted. A half empty big box ",
                           "has more wasted space than a half empty ",
                           "small one.",
                           ""}));
    EXPECT_EQ(info.Memo1->size(), QSize(240, 113));
    EXPECT_EQ(info.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(AboutInfoTest, ClusterLinesStand16ApartWithTheirRightEndsLinedUp)
{
    TInfoForm info;
    for (const TGroupBox* g : {info.GroupFat16, info.GroupFat32, info.GroupNtfs}) {
        QList<TLabel*> labels = g->findChildren<TLabel*>(QString(), Qt::FindDirectChildrenOnly);
        std::sort(labels.begin(), labels.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
        ASSERT_FALSE(labels.isEmpty());
        EXPECT_EQ(g->height(), 105);
        for (int i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i]->y(), 16 + 16 * i);
            EXPECT_EQ(labels[i]->x() + labels[i]->width(), labels[0]->x() + labels[0]->width());
            EXPECT_GE(labels[i]->x(), 2) << labels[i]->Caption().toStdString(); // inside the box
        }
    }
    EXPECT_EQ(info.GroupFat16->x(), 8);
    EXPECT_EQ(info.GroupFat32->x(), 168);
    EXPECT_EQ(info.GroupNtfs->x(), 336);
}

TEST_F(AboutInfoTest, ClosingOneInfoWindowLeavesTheOther)
{
    QPointer<TInfoForm> a = new TInfoForm, b = new TInfoForm;
    a->show();
    b->show();
    QTest::mouseClick(a->CloseBut, Qt::LeftButton);
    RunDeferredDeletes();
    EXPECT_TRUE(a.isNull());
    ASSERT_FALSE(b.isNull());
    EXPECT_TRUE(b->isVisible());
    b->close();
    RunDeferredDeletes();
    EXPECT_TRUE(b.isNull());
}

} // namespace
