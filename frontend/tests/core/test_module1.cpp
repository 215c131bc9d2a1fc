// Number forms between screen and data-set file, and the file test.
#include "Module1.h"

#include "test_support.h"

#include <stdexcept>

using namespace veldesk;

using namespace Module1;

TEST(FormateaNumero, RoundsInSinglePrecisionTiesToEvenSignFromTheUnroundedValue)
{
    EXPECT_EQ(formatea_numero(0.3f, 5), "0.30000");
    EXPECT_EQ(formatea_numero(0.018f, 5), "0.01800");
    EXPECT_EQ(formatea_numero(12345.67f, 5), "12345.66992");
    EXPECT_EQ(formatea_numero(0.25f, 1), "0.2");
    EXPECT_EQ(formatea_numero(0.75f, 1), "0.8");
    EXPECT_EQ(formatea_numero(1.99999f, 3), "2.000");
    EXPECT_EQ(formatea_numero(-0.5f, 1), "-0.5");
    EXPECT_EQ(formatea_numero(-0.0001f, 3), "-0.000");
    EXPECT_EQ(formatea_numero(2.5f, 0), "2");
    EXPECT_EQ(formatea_numero(12.75f, 6), "12");
    QString text = "kept", why;
    EXPECT_FALSE(formatNumber(1.0f, -1, &text, &why));
    EXPECT_EQ(text, "kept");
    EXPECT_TRUE(why.contains("negative")) << why.toStdString();
    EXPECT_EQ(formatea_numero(1.0f, -1), "");
}

TEST(ValorNumero, LeadingNumberWithCommaOrPointNeverFails)
{
    EXPECT_DOUBLE_EQ(valor_numero("1,5"), 1.5);
    EXPECT_DOUBLE_EQ(valor_numero("1.234,5"), 1.234);
    EXPECT_DOUBLE_EQ(valor_numero("1 234"), 1234);
    EXPECT_DOUBLE_EQ(valor_numero("2,5E-3"), 0.0025);
    EXPECT_DOUBLE_EQ(valor_numero("abc"), 0);
    EXPECT_DOUBLE_EQ(readNumber("1,5"), 1);
    EXPECT_DOUBLE_EQ(readNumber("-\t4\n.5D1x"), -45);
    EXPECT_DOUBLE_EQ(readNumber("7E+x"), 7);   // exponent letter without digits ends the number
    EXPECT_DOUBLE_EQ(readNumber("\r0.2"), 0);  // only blanks, tabs and line feeds are skipped
    EXPECT_DOUBLE_EQ(readNumber("."), 0);
    EXPECT_FALSE(std::signbit(readNumber("-0")));
    EXPECT_DOUBLE_EQ(readNumber("1E400"), 0);  // beyond a double reads as no number
}

TEST(NumeroGeneral, ShortestFormWithTheLocalesSeparator)
{
    const QLocale point(QLocale::English, QLocale::UnitedStates);
    const QLocale comma(QLocale::German, QLocale::Germany);
    EXPECT_EQ(generalNumber(0.25, comma), "0,25");
    EXPECT_EQ(generalNumber(1234567, comma), "1234567"); // never grouped
    EXPECT_EQ(generalNumber(0.1 + 0.2, point), "0.3");   // 15 significant digits
    EXPECT_EQ(generalNumber(123456789012345.0, point), "123456789012345");
    EXPECT_EQ(generalNumber(0.0001, point), "0.0001");
    EXPECT_EQ(generalNumber(0.00001, point), "1E-05");
    EXPECT_EQ(generalNumber(-2.5e-7, comma), "-2,5E-07");
    EXPECT_EQ(generalNumber(999999999999999.9, point), "1E+15"); // rounding moves the exponent
}

TEST(ExisteArchivo, OneOnlyForAFileThatOpensForReading)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pd");
    writeFile(path);
    EXPECT_EQ(existe_archivo(path), 1);
    EXPECT_TRUE(QFile::remove(path)); // nothing was left open
    EXPECT_EQ(existe_archivo(path), 0);
    EXPECT_EQ(existe_archivo(dir.path()), 0);
    EXPECT_EQ(existe_archivo(""), 0);
}
