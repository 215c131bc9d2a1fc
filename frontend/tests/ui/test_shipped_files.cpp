// What the build ships beside the programs: the help document, a real PDF of
// several pages, and the button pictures compiled into the program.
#include "icons.h"

#include <QCoreApplication>
#include <QFile>
#include <QPixmap>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace veldesk;

TEST(ShippedFiles, HelpDocumentIsAPdfOfSeveralPagesBesideThePrograms)
{
    QFile pdf(QCoreApplication::applicationDirPath() + "/velpra.pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly)) << "the build did not produce velpra.pdf";
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    // Page objects, not the page tree ("/Type /Pages").
    const auto pages = QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page(?!s)"));
    EXPECT_GE(pages, 4);
}

TEST(ShippedFiles, EveryButtonPictureLoadsFromTheProgramsResources)
{
    for (const char* name : {"help", "open", "save", "clear", "copy", "paste", "evaluate", "exit",
                             "data_clipboard", "image_clipboard", "ok", "app"}) {
        const QPixmap p(QStringLiteral(":/icons/%1.png").arg(name));
        ASSERT_FALSE(p.isNull()) << name;
        EXPECT_EQ(p.size(), QSize(32, 32)) << name;
        EXPECT_TRUE(p.hasAlphaChannel()) << name;
        EXPECT_FALSE(buttonIcon(name).isNull()) << name;
    }
    EXPECT_EQ(QPixmap(":/icons/app_256.png").size(), QSize(256, 256));
}
