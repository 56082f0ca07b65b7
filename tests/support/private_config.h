#pragma once

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vandorelle::test {

// Points XDG_CONFIG_HOME at a folder of the test program's own, for the program and the
// processes it starts, emptied after every test: no test reads or writes the settings of the
// user who runs it, nor those another test left.
class PrivateConfigHome : public ::testing::EmptyTestEventListener {
public:
    PrivateConfigHome()
    {
        if (m_dir.isValid())
            qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    }
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        QDir home(m_dir.path());
        for (const QFileInfo &entry : home.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
            if (entry.isDir() && !entry.isSymLink())
                QDir(entry.filePath()).removeRecursively();
            else
                home.remove(entry.fileName());
        }
    }

private:
    QTemporaryDir m_dir;
};

// Installs it for the whole test program; call after InitGoogleTest.
inline void usePrivateConfigHome()
{
    ::testing::UnitTest::GetInstance()->listeners().Append(new PrivateConfigHome);
}

} // namespace vandorelle::test
