// A program folder holding the stand-in flashing tool, a folder to save into, and a PATH
// with no other tool on it; the stand-in records its arguments in `log`.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

inline std::string readText(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

class FlashToolStandIn : public ::testing::Test {
  protected:
    // seconds: how long each run of the stand-in takes.
    void installStandIn(const char* seconds) {
        ASSERT_TRUE(program.isValid() && elsewhere.isValid());
        ASSERT_TRUE(QFile::copy(NVFLASH_STANDIN, program.filePath("nvflash")));
        log = program.filePath("arguments.txt");
        qputenv("NVFLASH_LOG", log.toLocal8Bit());
        qputenv("NVFLASH_MODE", "save");
        qputenv("NVFLASH_SLEEP", seconds);
        qputenv("PATH", "/usr/bin:/bin");
    }

    std::vector<std::string> recordedArguments() const {
        std::vector<std::string> lines;
        for (const QString& line : QString::fromStdString(readText(log)).split('\n', Qt::SkipEmptyParts))
            lines.push_back(line.toStdString());
        return lines;
    }

    QTemporaryDir program;
    QTemporaryDir elsewhere;
    QString log;
};
