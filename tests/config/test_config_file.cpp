#include "config/config_file.h"
#include "config/text_codec.h"
#include "store_samples.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace vandorelle;
using vandorelle::testing::randomStore;
using vandorelle::testing::storeDifferences;

namespace {

QByteArray crlfFile(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *l : lines)
        out += QByteArray(l) + "\r\n";
    return out;
}

// The section beginning with header, up to and including its closing empty line.
QByteArray sectionOf(const QByteArray &file, const QByteArray &header)
{
    const qsizetype at = file.indexOf(header + "\r\n");
    if (at < 0)
        return {};
    const qsizetype end = file.indexOf("\r\n\r\n", at);
    return file.mid(at, end + 4 - at);
}

ConfigStore pendingCleared()
{
    ConfigStore s;
    s.clearAllPending();
    return s;
}

} // namespace

TEST(ConfigFileWriter, BeginsExactlyWithNamesAndTheFirstScheduleEntry)
{
    const QByteArray file = writeConfigFile(ConfigStore{});
    QByteArray expected = "[Motor-Namen_]\r\n";
    for (int m = 1; m <= 32; ++m)
        expected += QStringLiteral("Motor%1=Motor %2\r\n").arg(m, 2, 10, QLatin1Char('0')).arg(m).toLatin1();
    expected += "\r\n"
                "[Schaltzeit_Mo_Motor01_Nr1]\r\n"
                "Richtung=Auf\r\n"
                "Stunde=--\r\n"
                "Minute=--\r\n"
                "Dauer=40\r\n"
                "Gruppe=1\r\n"
                "Funktion=Normal\r\n"
                "\r\n"
                "[Schaltzeit_Mo_Motor01_Nr2]\r\n";
    EXPECT_EQ(file.left(expected.size()), expected);
}

TEST(ConfigFileWriter, NamesAreWindows1252AndCannotSplitALine)
{
    ConfigStore s;
    s.MotorNamen[1] = QStringLiteral("Bäd=€");
    s.MotorNamen[2] = QStringLiteral("a\r\nb");
    const QByteArray file = writeConfigFile(s);
    EXPECT_TRUE(file.contains("\r\nMotor02=B\xE4" "d=\x80\r\nMotor03=a  b\r\nMotor04="));
}

TEST(ConfigFileWriter, SectionsAppearInTheirOrder)
{
    QList<QByteArray> names;
    int sections = 0;
    for (const QByteArray &line : splitLines(writeConfigFile(ConfigStore{}))) {
        if (!line.startsWith('['))
            continue;
        ++sections;
        const QByteArray name = line.mid(1, line.indexOf('_') - 1);
        if (names.isEmpty() || names.last() != name)
            names << name;
    }
    const QList<QByteArray> expected = {
        "Motor-Namen", "Schaltzeit", "Beschattung", "DaemmerungMorgen", "DaemmerungAbend", "Wind",
        "Regen", "Reversierung", "ProportionaleTemperatursteuerung", "InnenTemperatursteuerung",
        "HeizungsSteuerung", "FeuchtigkeitsSteuerung", "AussenTemperatursteuerung", "AlarmPattern",
        "Parameter", "Gruppen-Zentralsteuerung", "Soft-GZS", "TastAutomatik"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(sections, 1 + 1792 + 11 * 32 + 4 + 32);
}

TEST(ConfigFileWriter, ScheduleSectionsRunWeekdayMotorEntry)
{
    ConfigStore s;
    s.entry(2, 3, 4).Zeit = timeCode(7, 5);
    const QByteArray file = writeConfigFile(s);
    const qsizetype nr8 = file.indexOf("[Schaltzeit_Mo_Motor32_Nr8]");
    EXPECT_LT(file.indexOf("[Schaltzeit_Mo_Motor01_Nr8]"), file.indexOf("[Schaltzeit_Mo_Motor02_Nr1]"));
    EXPECT_LT(nr8, file.indexOf("[Schaltzeit_Di_Motor01_Nr1]"));
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Di_Motor03_Nr4]").contains("Stunde=7\r\nMinute=5\r\n"));
}

TEST(ConfigFileWriter, FunctionSectionsUseTheirKeysAndFileValues)
{
    ConfigStore s;
    s.InnenTemperatursteuerung[0].Gr_Kl = 1;
    s.HeizungsSteuerung[4].Betriebsart = 1;
    s.HeizungsSteuerung[4].TagNacht = 1;
    s.AussenTemperatursteuerung[31].Richtung = 2;
    s.Wind[0].Geschwindigkeit = 18;
    s.GruppenZentralsteuerung[1][2] = 129; // bank 2, group 3
    s.SoftGZS = true;
    const QByteArray file = writeConfigFile(s);

    EXPECT_EQ(sectionOf(file, "[Beschattung_Motor01]"),
              crlfFile({"[Beschattung_Motor01]", "EinAus=Aus", "Temperatur=22", "Von=10", "Bis=20",
                        "Helligkeit=244", "Dauer=10", ""}));
    EXPECT_EQ(sectionOf(file, "[DaemmerungAbend_Motor01]"),
              crlfFile({"[DaemmerungAbend_Motor01]", "EinAus=Aus", "Von=19", "Helligkeit=110", "Dauer=40", ""}));
    EXPECT_EQ(sectionOf(file, "[Wind_Motor01]"), crlfFile({"[Wind_Motor01]", "EinAus=Aus", "Geschwindigkeit=95", ""}));
    EXPECT_EQ(sectionOf(file, "[ProportionaleTemperatursteuerung_Motor01]"),
              crlfFile({"[ProportionaleTemperatursteuerung_Motor01]", "EinAus=Aus", "Von=10", "Bis=22",
                        "SollTemperatur=23", "Richtung=Auf", "Regelbereich=3", "MaxStellzeit=40", "Schritte=6", ""}));
    EXPECT_EQ(sectionOf(file, "[InnenTemperatursteuerung_Motor01]"),
              crlfFile({"[InnenTemperatursteuerung_Motor01]", "EinAus=Aus", "Gr_KL=Kl", "Schwelle1=22",
                        "Richtung=Auf", "Schwelle2=20", "Dauer=40", "Von=8", "Bis=21", ""}));
    EXPECT_EQ(sectionOf(file, "[HeizungsSteuerung_Motor05]"),
              crlfFile({"[HeizungsSteuerung_Motor05]", "EinAus=Aus", "TagNacht=Nacht", "Betriebsart=Kuehlen",
                        "TagTemperatur=210", "NachtTemperatur=180", ""}));
    EXPECT_EQ(sectionOf(file, "[FeuchtigkeitsSteuerung_Motor01]"),
              crlfFile({"[FeuchtigkeitsSteuerung_Motor01]", "EinAus=Aus", "Gr_KL=Gr", "Schwelle1=76",
                        "Schwelle2=66", "Dauer=40", "Von=8", "Bis=21", ""}));
    EXPECT_EQ(sectionOf(file, "[AussenTemperatursteuerung_Motor32]"),
              crlfFile({"[AussenTemperatursteuerung_Motor32]", "EinAus=Aus", "Schwelle1=2", "Richtung=Deaktiv",
                        "Schwelle2=5", "Dauer=40", ""}));
    EXPECT_EQ(sectionOf(file, "[Parameter_]"),
              crlfFile({"[Parameter_]", "Zufalls-Zeitspanne=30", "Beschattungs-Hysterese=10", "Offset_AT=0",
                        "Offset_IT=0", "Heizungs-Hysterese=3", ""}));
    const QByteArray groups = sectionOf(file, "[Gruppen-Zentralsteuerung_]");
    EXPECT_TRUE(groups.startsWith("[Gruppen-Zentralsteuerung_]\r\nGruppe_1_Bank_1=0\r\nGruppe_1_Bank_2=0\r\n"));
    EXPECT_TRUE(groups.contains("\r\nGruppe_3_Bank_2=129\r\n"));
    EXPECT_TRUE(groups.endsWith("Gruppe_4_Bank_4=0\r\n\r\n"));
    EXPECT_EQ(sectionOf(file, "[Soft-GZS_]"), crlfFile({"[Soft-GZS_]", "EinAus=Ein", ""}));
    EXPECT_TRUE(file.endsWith(crlfFile({"[TastAutomatik_Motor32]", "EinAus=Aus", "Dauer=21", ""})));
}

TEST(ConfigFileWriter, ScheduleRunTimeAboveOneHundredSeconds)
{
    ConfigStore s;
    s.entry(1, 1, 1).Dauer = 99;
    s.entry(1, 1, 2).Dauer = 100;
    s.entry(1, 1, 3).Dauer = 129;
    s.entry(1, 1, 4).Dauer = 130; // outside the list: written as code 43
    const QByteArray file = writeConfigFile(s);
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Mo_Motor01_Nr1]").contains("\r\nDauer=100\r\n"));
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Mo_Motor01_Nr2]").contains("\r\nDauer=110\r\n"));
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Mo_Motor01_Nr3]").contains("\r\nDauer=400\r\n"));
    EXPECT_TRUE(sectionOf(file, "[Schaltzeit_Mo_Motor01_Nr4]").contains("\r\nDauer=44\r\n"));
}

TEST(ConfigFileRoundTrip, StartUpStoreComesBackUnchanged)
{
    const ConfigStore original;
    ConfigStore loaded = randomStore(7);
    const LoadResult r = readConfigFile(writeConfigFile(original), loaded);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(storeDifferences(loaded, original).toStdString(), "");
}

TEST(ConfigFileRoundTrip, EveryFieldOfRandomStoresComesBack)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        ConfigStore original = randomStore(seed);
        ConfigStore loaded = pendingCleared();
        const LoadResult r = readConfigFile(writeConfigFile(original), loaded);
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        original.markAllPending(); // a load marks everything for the next send
        ASSERT_EQ(storeDifferences(loaded, original).toStdString(), "") << "seed " << seed;
    }
}

TEST(ConfigFileRoundTrip, LfLineEndsReadLikeCrLf)
{
    ConfigStore original = randomStore(42);
    QByteArray file = writeConfigFile(original);
    file.replace("\r\n", "\n");
    ConfigStore loaded;
    ASSERT_TRUE(readConfigFile(file, loaded).ok);
    original.markAllPending();
    EXPECT_EQ(storeDifferences(loaded, original).toStdString(), "");
}

TEST(ConfigFileReader, ScheduleTimesAndRunTimes)
{
    ConfigStore s;
    s.entry(3, 2, 1).Zeit = 500;
    const LoadResult r = readConfigFile(crlfFile({
        "[Schaltzeit_Mi_Motor02_Nr1]", "Richtung=Ab", "Stunde=--", "Minute=--", "Dauer=105", "Gruppe=5", "Funktion=Astro", "",
        "[Schaltzeit_So_Motor32_Nr8]", "Richtung=Auf", "Stunde=23", "Minute=59", "Dauer=110", "Gruppe=7", "Funktion=Normal", "",
        "[Schaltzeit_Mo_Motor01_Nr1]", "Richtung=Ab", "Stunde=0", "Minute=0", "Dauer=400", "Gruppe=2", "Funktion=Zufall", "",
    }), s);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    const SchaltzeitEntry &a = s.entry(3, 2, 1);
    EXPECT_EQ(a.Zeit, 0);
    EXPECT_EQ(a.Richtung, 1);
    EXPECT_EQ(a.Dauer, 99);
    EXPECT_EQ(a.Gruppe, 5);
    EXPECT_EQ(a.Funktion, 1);
    EXPECT_EQ(s.entry(7, 32, 8).Zeit, 1440);
    EXPECT_EQ(s.entry(7, 32, 8).Dauer, 100);
    EXPECT_EQ(s.entry(1, 1, 1).Zeit, 1);
    EXPECT_EQ(s.entry(1, 1, 1).Dauer, 129);
    EXPECT_EQ(s.entry(1, 1, 1).Funktion, 2);
}

TEST(ConfigFileReader, NamesKeepEverythingAfterTheFirstEquals)
{
    ConfigStore s;
    ASSERT_TRUE(readConfigFile(crlfFile({"[Motor-Namen_]", "Motor07=a=b=", "Motor32=K\xFC" "che \x80", "Motor08=", ""}), s).ok);
    EXPECT_EQ(s.MotorNamen[6], QStringLiteral("a=b="));
    EXPECT_EQ(s.MotorNamen[31], QStringLiteral("Küche €"));
    EXPECT_EQ(s.MotorNamen[7], QString());
    EXPECT_EQ(s.MotorNamen[0], QStringLiteral("Motor 1"));
}

TEST(ConfigFileReader, PartialFileChangesOnlyItsFieldsAndMarksEverythingPending)
{
    ConfigStore expected;
    ConfigStore s = pendingCleared();
    ASSERT_TRUE(readConfigFile(crlfFile({
        "[Wind_Motor03]", "EinAus=Ein", "Geschwindigkeit=50", "",
        "[Parameter_]", "Offset_AT=-5", "Heizungs-Hysterese=9", "Unbekannt=3", "",
        "[AlarmPattern_]", "Motor05=2", "",
    }), s).ok);
    expected.Wind[2] = {0, 9, 1};
    expected.Parameter.Offset_AT = 0;
    expected.Parameter.HeizungsHysterese = 8;
    expected.AlarmPattern[4] = 2;
    EXPECT_EQ(storeDifferences(s, expected).toStdString(), "");
}

TEST(ConfigFileReader, TextValuesAreComparedCaseSensitivelyOverTheirLength)
{
    ConfigStore s;
    s.SoftGZS = true;
    ASSERT_TRUE(readConfigFile(crlfFile({
        "[Schaltzeit_Mo_Motor01_Nr1]", "Stunde=1", "Minute=2", "Funktion=Zufallsbetrieb", "",
        "[Regen_Motor01]", "EinAus=Ein", "Richtung=Ab", "",
        "[Regen_Motor02]", "EinAus=ein", "Richtung=Abwärts", "", // "ein" leaves "Ein" of motor 1 pending
        "[AussenTemperatursteuerung_Motor01]", "EinAus=Aus", "Schwelle1=0", "Richtung=Deaktiviert", "Schwelle2=0", "Dauer=1", "",
        "[Soft-GZS_]", "EinAus=Aus", "",
    }), s).ok);
    EXPECT_EQ(s.entry(1, 1, 1).Funktion, 2);
    EXPECT_EQ(s.Regen[1].EinAus, 0);
    EXPECT_EQ(s.Regen[1].Richtung, 1);
    EXPECT_EQ(s.AussenTemperatursteuerung[0].Richtung, 2);
    EXPECT_FALSE(s.SoftGZS);

    ASSERT_TRUE(readConfigFile(crlfFile({"[Soft-GZS_]", "EinAus=Ein"}), s).ok);
    EXPECT_TRUE(s.SoftGZS);
}

TEST(ConfigFileReader, MissingKeysKeepTheRecordOrCarryTheLastValueRead)
{
    ConfigStore s;
    ASSERT_TRUE(readConfigFile(crlfFile({
        // No value read yet for Temperatur, Von, Bis: motor 1 keeps its own.
        "[Beschattung_Motor01]", "EinAus=Ein", "Helligkeit=200", "Dauer=5", "",
        // Motor 2 lacks Helligkeit: it takes the 200 read above.
        "[Beschattung_Motor02]", "EinAus=Aus", "Temperatur=0", "Von=6", "Bis=7", "Dauer=6", "",
    }), s).ok);
    EXPECT_EQ(s.Beschattung[0], (BeschattungRecord{0, 32, 5, 15, 100, 4, 1}));
    EXPECT_EQ(s.Beschattung[1], (BeschattungRecord{1, 10, 1, 2, 100, 5, 1}));
}

TEST(ConfigFileReader, ValuesArePendingUntilTheClosingKey)
{
    ConfigStore s;
    ASSERT_TRUE(readConfigFile(crlfFile({
        "[HeizungsSteuerung_Motor02]", "EinAus=Ein", "TagNacht=Nacht", "Betriebsart=Kuehlen", "TagTemperatur=100",
        "NachtTemperatur=60", "",
        "[InnenTemperatursteuerung_Motor02]", "Gr_KL=Kl", "Bis=3", "Schwelle1=50", "",
        "[FeuchtigkeitsSteuerung_Motor02]", "Gr_KL=Gr", "Schwelle1=99", "Schwelle2=1", "Dauer=191", "Von=0", "Bis=23", "",
        "[ProportionaleTemperatursteuerung_Motor02]", "Von=1", "Bis=2", "SollTemperatur=50", "Richtung=Ab",
        "Regelbereich=9", "MaxStellzeit=999", "Schritte=9", "",
        "[Reversierung_Motor02]", "Bei_Auf=40", "Bei_Ab=0", "",
        "[DaemmerungMorgen_Motor02]", "Von=11", "Helligkeit=250", "Dauer=191", "",
        "[TastAutomatik_Motor02]", "Dauer=0", "",
    }), s).ok);
    EXPECT_EQ(s.HeizungsSteuerung[1], (HeizungsRecord{0, 1, 1, 60, 20, 1}));
    // Schwelle1=50 came after the closing key "Bis" and stays pending.
    EXPECT_EQ(s.InnenTemperatursteuerung[1], (InnenTemperaturRecord{0, 1, 31, 0, 29, 39, 8, 3, 1}));
    EXPECT_EQ(s.FeuchtigkeitsSteuerung[1], (FeuchtigkeitsRecord{0, 0, 98, 0, 190, 0, 23, 1}));
    EXPECT_EQ(s.ProportionaleTemperatursteuerung[1], (ProportionaleTemperaturRecord{0, 1, 2, 49, 1, 8, 998, 7, 1}));
    EXPECT_EQ(s.Reversierung[1], (ReversierungRecord{0, 40, 0, 1}));
    EXPECT_EQ(s.DaemmerungMorgen[1], (DaemmerungRecord{0, 8, 249, 190, 1}));
    EXPECT_EQ(s.TastAutomatik[1], (TastAutomatikRecord{0, 0, 1}));
}

TEST(ConfigFileReader, LinesForPlacesTheStoreDoesNotHaveAreSkipped)
{
    ConfigStore expected;
    ConfigStore s;
    const LoadResult r = readConfigFile(crlfFile({
        "[Schaltzeit_Xx_Motor01_Nr1]", "Stunde=5", "Minute=0", "Funktion=Astro", "",
        "[Schaltzeit_Mo_Motor33_Nr1]", "Funktion=Astro", "",
        "[Schaltzeit_Mo_Motor01_Nr9]", "Funktion=Astro", "",
        "[Schaltzeit_Mo_Motor00_Nr0]", "Funktion=Astro", "",
        "[Beschattung_Motor33]", "Dauer=3", "",
        "[Motor-Namen_]", "Motor33=x", "Motor00=y", "",
        "[AlarmPattern_]", "Motor99=0", "",
        "[Gruppen-Zentralsteuerung_]", "Gruppe_5_Bank_1=3", "Gruppe_1_Bank_0=3", "Gruppe_1=3", "",
        "[Unbekannt_Motor01]", "EinAus=Ein", "Dauer=1", "",
    }), s);
    EXPECT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(storeDifferences(s, expected).toStdString(), "");
}

TEST(ConfigFileReader, ANumberThatIsNotAnIntegerStopsTheLoad)
{
    ConfigStore s;
    const LoadResult r = readConfigFile(crlfFile({
        "[Wind_Motor01]", "EinAus=Ein", "Geschwindigkeit=10", "",
        "[Wind_Motor02]", "EinAus=Ein", "Geschwindigkeit=1O", "",
        "[Wind_Motor03]", "EinAus=Ein", "Geschwindigkeit=10", "",
    }), s);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.status, LoadResult::Status::NotAnInteger);
    EXPECT_EQ(r.line, 7);
    EXPECT_EQ(r.message, QStringLiteral("'1O' ist kein gültiger Integerwert (Zeile 7)"));
    EXPECT_EQ(s.Wind[0].Geschwindigkeit, 1);
    EXPECT_EQ(s.Wind[1], WindRecord{});
    EXPECT_EQ(s.Wind[2], WindRecord{});

    for (const char *bad : {"Stunde=", "Minute=x", "Gruppe=?", "Von=99999999999", "Dauer=1.5"}) {
        ConfigStore t;
        const LoadResult e = readConfigFile(crlfFile({"[Schaltzeit_Mo_Motor01_Nr1]", bad}), t);
        EXPECT_EQ(e.status, LoadResult::Status::NotAnInteger) << bad;
        EXPECT_EQ(e.line, 2) << bad;
    }
    ConfigStore t;
    EXPECT_EQ(readConfigFile(crlfFile({"[Beschattung_MotorAB]"}), t).message,
              QStringLiteral("'AB' ist kein gültiger Integerwert (Zeile 1)"));
    EXPECT_EQ(readConfigFile(crlfFile({"[Wind_Motor01]", "Geschwindigkeit=%2%1"}), t).message,
              QStringLiteral("'%2%1' ist kein gültiger Integerwert (Zeile 2)"));
}

TEST(ConfigFileReader, NumbersAcceptSignsAndSurroundingBlanks)
{
    ConfigStore s;
    ASSERT_TRUE(readConfigFile(crlfFile({"[Parameter_]", "Offset_IT= -3 ", "Offset_AT=+5", "Zufalls-Zeitspanne=2"}), s).ok);
    EXPECT_EQ(s.Parameter.Offset_IT, 2);
    EXPECT_EQ(s.Parameter.Offset_AT, 10);
    EXPECT_EQ(s.Parameter.ZufallsZeitspanne, 0);
}
