#include "test_receive_helpers.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace vandorelle::test {
namespace {

// German desktops write "1.234,5"; nothing read from or shown for the wire may follow that.
class GermanLocale : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = std::setlocale(LC_ALL, nullptr);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, m_previous.c_str());
        QLocale::setDefault(QLocale::c());
    }

private:
    std::string m_previous;
};

TEST_F(GermanLocale, DecodersReadAndShowPlainDecimals)
{
    ReceiveFixture f;
    f.session.flags.ShadingFamily = true;
    f.feed("sbp", "1,0,122,10,20,244,10,407,");
    f.feed("skd", "1234,21,5,18,24,-3,5,-7,2,12,74,1,0,4,180,55,");
    f.feed("sfi", "7.090");
    f.feed("sgz", "4294967295,0,0,0,");
    f.feed("sbp", "2,0,1.220,10,20,244,10,1.705,"); // thousands dots are not numbers here

    EXPECT_EQ(f.store.Beschattung[0].Temperatur, 32);
    EXPECT_EQ(f.panel(StatusModel::Sun), "Sonne: 1234");
    EXPECT_EQ(f.panel(StatusModel::InsideTemp), "IT: 21,5°");
    EXPECT_EQ(f.session.firmwareNumber, 7090);
    EXPECT_EQ(f.store.GruppenZentralsteuerung[3][0], 255);
    EXPECT_EQ(f.panel(StatusModel::Error), "Fehler Wert sbp");
    EXPECT_EQ(f.store.Beschattung[1], BeschattungRecord{});
}

} // namespace
} // namespace vandorelle::test
