#include "prefs/qt/qsettingsstore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace
{

class QSettingsStoreTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
    }
    QString path(const QString &name) const
    {
        return m_dir.filePath(name);
    }
    void writeFile(const QString &name, const QByteArray &content) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(QSettingsStoreTest, AbsentKeyReadsEmpty)
{
    prefs::QSettingsStore store(path("prefs.ini"));
    EXPECT_EQ(store.get("Red"), "");
}

TEST_F(QSettingsStoreTest, ValuesOutliveTheStoreUnderOptions)
{
    {
        prefs::QSettingsStore store(path("prefs.ini"));
        store.set("Use Font Style", "1");
        store.set("Red", "");
        store.set("Green", "12, 5");
        store.set("Blue", "abc");
    }
    prefs::QSettingsStore store(path("prefs.ini"));
    EXPECT_EQ(store.get("Use Font Style"), "1");
    EXPECT_EQ(store.get("Red"), "");
    EXPECT_EQ(store.get("Green"), "12, 5");
    EXPECT_EQ(store.get("Blue"), "abc");

    QSettings raw(path("prefs.ini"), QSettings::IniFormat);
    EXPECT_EQ(raw.value("Options/Blue").toString(), QStringLiteral("abc"));
}

TEST_F(QSettingsStoreTest, JunkValuesReadAsEmpty)
{
    writeFile("junk.ini",
              "[Options]\n"
              "Red=1, 2, 3\n"
              "Green=@ByteArray(\\0\\x1)\n"
              "Blue=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x1)\n"
              "Bold=@Rect(1 2 3 4)\n"
              "Italics=1\n");
    prefs::QSettingsStore store(path("junk.ini"));
    EXPECT_EQ(store.get("Red"), "");
    EXPECT_EQ(store.get("Green"), "");
    EXPECT_EQ(store.get("Blue"), "");
    EXPECT_EQ(store.get("Bold"), "");
    EXPECT_EQ(store.get("Italics"), "1");
}

TEST_F(QSettingsStoreTest, BinaryGarbageReadsAsEmpty)
{
    writeFile("garbage.ini", QByteArray("\xff\xfe\0\x01[[[=\n\x80\x81", 12));
    prefs::QSettingsStore store(path("garbage.ini"));
    EXPECT_EQ(store.get("Red"), "");
    EXPECT_EQ(store.get("Accidentals"), "");
}

TEST_F(QSettingsStoreTest, UnreadableStoreReadsAsEmptyAndCannotBeWritten)
{
    ASSERT_TRUE(QDir(path("")).mkdir("adirectory"));
    prefs::QSettingsStore store(path("adirectory"));
    EXPECT_EQ(store.get("Red"), "");
    EXPECT_EQ(store.unreadable(), path("adirectory").toStdString());
    store.set("Red", "255");
    EXPECT_EQ(store.commit(), path("adirectory").toStdString() + " cannot be written.");
}

TEST_F(QSettingsStoreTest, AWritableStoreCommitsAndReadsBack)
{
    prefs::QSettingsStore store(path("prefs.ini"));
    EXPECT_EQ(store.unreadable(), std::nullopt);
    store.set("Red", "@255");
    store.set("Green", "");
    EXPECT_EQ(store.commit(), std::nullopt);
    EXPECT_EQ(prefs::QSettingsStore(path("prefs.ini")).get("Red"), "@255");
}

TEST_F(QSettingsStoreTest, APartlyBrokenStoreGivesWhatItCanAndStaysUntilSaved)
{
    constexpr char text[] = "[Options]\nRed=12\n\xff\xfe[[[\nGreen\n=4\n";
    const QByteArray broken(text, sizeof text - 1);
    writeFile("broken.ini", broken);
    {
        prefs::QSettingsStore store(path("broken.ini"));
        EXPECT_EQ(store.get("Red"), "12");
        EXPECT_EQ(store.unreadable(), path("broken.ini").toStdString());
        store.sync();
    }
    QFile file(path("broken.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), broken) << "reading alone never rewrites the file";
    file.close();

    prefs::QSettingsStore store(path("broken.ini"));
    store.set("Blue", "3");
    EXPECT_EQ(store.commit(), std::nullopt) << "saving replaces it";
    EXPECT_EQ(prefs::QSettingsStore(path("broken.ini")).get("Blue"), "3");
}

} // namespace
