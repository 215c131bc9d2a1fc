// Number forms between screen and data-set file, and the file test.
#include "Module1.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace Module1;

TEST(FormateaNumero, FixedDecimalsWithPointWhateverTheValue)
{
    EXPECT_EQ(formatea_numero(0.3f, 5), "0.30000");
    EXPECT_EQ(formatea_numero(0.018f, 5), "0.01800");
    EXPECT_EQ(formatea_numero(7.0f, 5), "7.00000");
    EXPECT_EQ(formatea_numero(120.0f, 1), "120.0");
    EXPECT_EQ(formatea_numero(0.25f, 3), "0.250");
    EXPECT_EQ(formatea_numero(0.0f, 5), "0.00000");
    EXPECT_EQ(formatea_numero(3.14159f, 2), "3.14");
    EXPECT_EQ(formatea_numero(0.0015f, 4), "0.0015");
}

TEST(FormateaNumero, WorksOnTheSinglePrecisionValue)
{
    EXPECT_EQ(formatea_numero(12345.67f, 5), "12345.66992");
}

TEST(FormateaNumero, TiesGoToTheEvenNeighbourAndCarriesReachTheIntegerPart)
{
    EXPECT_EQ(formatea_numero(0.25f, 1), "0.2");
    EXPECT_EQ(formatea_numero(0.75f, 1), "0.8");
    EXPECT_EQ(formatea_numero(2.5f, 0), "2");
    EXPECT_EQ(formatea_numero(3.5f, 0), "4");
    EXPECT_EQ(formatea_numero(1.99999f, 3), "2.000");
    EXPECT_EQ(formatea_numero(9.96f, 1), "10.0");
}

TEST(FormateaNumero, SignFollowsTheUnroundedValue)
{
    EXPECT_EQ(formatea_numero(-12.345f, 3), "-12.345");
    EXPECT_EQ(formatea_numero(-0.5f, 1), "-0.5");
    EXPECT_EQ(formatea_numero(-0.0001f, 3), "-0.000");
    EXPECT_EQ(formatea_numero(-0.0f, 2), "0.00");
}

TEST(FormateaNumero, OtherDecimalCountsGiveTheIntegerPartOnlyAndNegativeIsRefused)
{
    EXPECT_EQ(formatea_numero(12.5f, 0), "12");
    EXPECT_EQ(formatea_numero(12.75f, 6), "12");
    EXPECT_EQ(formatea_numero(-3.7f, 0), "-4");
    EXPECT_THROW(formatea_numero(1.0f, -1), std::invalid_argument);
}

TEST(ValorNumero, TakesCommaOrPointAndNeverFails)
{
    EXPECT_DOUBLE_EQ(valor_numero("1,5"), 1.5);
    EXPECT_DOUBLE_EQ(valor_numero("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(valor_numero("1.234,5"), 1.234);
    EXPECT_DOUBLE_EQ(valor_numero(" 12 "), 12);
    EXPECT_DOUBLE_EQ(valor_numero("1 234"), 1234);
    EXPECT_DOUBLE_EQ(valor_numero("abc"), 0);
    EXPECT_DOUBLE_EQ(valor_numero(""), 0);
    EXPECT_DOUBLE_EQ(valor_numero("2,5E-3"), 0.0025);
    EXPECT_DOUBLE_EQ(valor_numero("0,018"), 0.018);
}

TEST(LeerNumero, LeadingNumberLikeALenientReader)
{
    EXPECT_DOUBLE_EQ(leer_numero("12abc"), 12);
    EXPECT_DOUBLE_EQ(leer_numero("1,5"), 1);
    EXPECT_DOUBLE_EQ(leer_numero("2.5e2"), 250);
    EXPECT_DOUBLE_EQ(leer_numero("1.5D3"), 1500);
    EXPECT_DOUBLE_EQ(leer_numero("-\t4\n.5"), -4.5);
    EXPECT_DOUBLE_EQ(leer_numero("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(leer_numero("7E"), 7);   // an exponent letter without digits ends the number
    EXPECT_DOUBLE_EQ(leer_numero("7E+x"), 7);
    EXPECT_DOUBLE_EQ(leer_numero("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(leer_numero("\n0.2"), 0.2);
    EXPECT_DOUBLE_EQ(leer_numero("\r0.2"), 0); // a carriage return is not skipped
    EXPECT_DOUBLE_EQ(leer_numero("."), 0);
    EXPECT_DOUBLE_EQ(leer_numero("-"), 0);
    EXPECT_DOUBLE_EQ(leer_numero("E5"), 0);
    EXPECT_FALSE(std::signbit(leer_numero("-0")));
    EXPECT_DOUBLE_EQ(leer_numero("1E400"), 0); // beyond a double: no number
}

TEST(LeerCelda, AlsoTakesTheOperatorsOwnSeparator)
{
    const QLocale point(QLocale::English, QLocale::UnitedStates);
    const QLocale comma(QLocale::German, QLocale::Germany);
    EXPECT_DOUBLE_EQ(leer_celda("0,25", point), 0);
    EXPECT_DOUBLE_EQ(leer_celda("0.25", point), 0.25);
    EXPECT_DOUBLE_EQ(leer_celda("0,25", comma), 0.25);
    EXPECT_DOUBLE_EQ(leer_celda("0.25", comma), 0.25);
}

TEST(NumeroGeneral, ShortestFormInTheGivenLocale)
{
    const QLocale point(QLocale::English, QLocale::UnitedStates);
    const QLocale comma(QLocale::German, QLocale::Germany);
    EXPECT_EQ(numero_general(0.25, point), "0.25");
    EXPECT_EQ(numero_general(0.25, comma), "0,25");
    EXPECT_EQ(numero_general(1.5, point), "1.5");
    EXPECT_EQ(numero_general(0, point), "0");
    EXPECT_EQ(numero_general(250, comma), "250");
    EXPECT_EQ(numero_general(1234567, comma), "1234567"); // never grouped
    EXPECT_EQ(numero_general(-12.5, point), "-12.5");
    EXPECT_EQ(numero_general(0.1 + 0.2, point), "0.3");   // 15 significant digits
    EXPECT_EQ(numero_general(1.0 / 3.0, point), "0.333333333333333");
    EXPECT_EQ(numero_general(123456789012345.0, point), "123456789012345");
    EXPECT_EQ(numero_general(0.0001, point), "0.0001");
}

TEST(NumeroGeneral, ExponentFormOnlyForVeryLargeOrSmallMagnitudes)
{
    const QLocale point(QLocale::English, QLocale::UnitedStates);
    const QLocale comma(QLocale::German, QLocale::Germany);
    EXPECT_EQ(numero_general(1e15, point), "1E+15");
    EXPECT_EQ(numero_general(0.00001, point), "1E-05");
    EXPECT_EQ(numero_general(-2.5e-7, comma), "-2,5E-07");
    EXPECT_EQ(numero_general(1.5e300, point), "1.5E+300");
    EXPECT_EQ(numero_general(999999999999999.9, point), "1E+15"); // rounding moves the exponent
}

TEST(ExisteArchivo, OneOnlyForAFileThatOpensForReading)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("a.pd");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x\r\n");
    }
    EXPECT_EQ(existe_archivo(path), 1);
    EXPECT_TRUE(QFile::remove(path)); // nothing was left open
    EXPECT_EQ(existe_archivo(path), 0);
    EXPECT_EQ(existe_archivo(dir.path()), 0);
    EXPECT_EQ(existe_archivo(""), 0);
    EXPECT_EQ(existe_archivo(dir.filePath("no/such/dir/x.pd")), 0);
}
