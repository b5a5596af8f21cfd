#include "setup/flash_tool.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace setup {

namespace {

constexpr const char* kToolName = "nvflash";

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

// A report in the user's language (`source` marked where it is written); the
// arguments fill %1 and %2 in one pass, so a path holding "%2" stays as it is.
std::string said(const char* source) {
    return QCoreApplication::translate("CFlashTool", source).toStdString();
}
std::string said(const char* source, const std::string& a) {
    return QCoreApplication::translate("CFlashTool", source).arg(q(a)).toStdString();
}
std::string said(const char* source, const std::string& a, const std::string& b) {
    return QCoreApplication::translate("CFlashTool", source).arg(q(a), q(b)).toStdString();
}

// The last non-empty line the tool printed, which is where it says why it failed.
std::string lastLine(const QByteArray& output) {
    const QList<QByteArray> lines = output.split('\n');
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        QByteArray line = it->trimmed();
        if (!line.isEmpty()) return QString::fromLocal8Bit(line.left(300)).toStdString();
    }
    return {};
}

// Replaces `to` only once the whole image is written, so a failed copy leaves
// what was there.
std::string copyReplacing(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) return source.errorString().toStdString();
    const QByteArray image = source.readAll();
    if (source.error() != QFileDevice::NoError) return source.errorString().toStdString();
    QSaveFile target(to);
    target.setDirectWriteFallback(false);
    if (!target.open(QIODevice::WriteOnly) || target.write(image) != image.size() || !target.commit())
        return target.errorString().toStdString();
    return {};
}

}  // namespace

struct CFlashTool::Job {
    QProcess* process = nullptr;
    std::string copyFrom;  // the image the tool writes ("" when flashing)
    std::string copyTo;
    bool imageExisted = false;
    QDateTime imageTime;
    Done done;
    bool orphaned = false;

    Outcome outcome(int exitCode, QProcess::ExitStatus status) {
        const QByteArray output = process->readAll();
        if (status != QProcess::NormalExit)
            return {false, said(QT_TRANSLATE_NOOP("CFlashTool", "The flashing tool stopped abnormally: %1"),
                                process->errorString().toStdString())};
        if (exitCode != 0) {
            const std::string status = std::to_string(exitCode);
            const std::string why = lastLine(output);
            return {
                false,
                why.empty()
                    ? said(QT_TRANSLATE_NOOP("CFlashTool", "The flashing tool failed (exit status %1)."),
                           status)
                    : said(QT_TRANSLATE_NOOP("CFlashTool", "The flashing tool failed (exit status %1): %2"),
                           status, why)};
        }
        if (copyFrom.empty())
            return {true, said(QT_TRANSLATE_NOOP("CFlashTool",
                                                 "The flashing tool wrote the BIOS image to the card."))};

        const QFileInfo image(q(copyFrom));
        if (!image.isFile() || (imageExisted && image.lastModified() == imageTime))
            return {false,
                    said(QT_TRANSLATE_NOOP("CFlashTool",
                                           "The flashing tool wrote no BIOS image (%1 was not written)."),
                         copyFrom)};
        // Saved straight into the tool's folder: the image is already where it belongs.
        const QFileInfo target(q(copyTo));
        if (target.exists() && target.canonicalFilePath() == image.canonicalFilePath())
            return {true, said(QT_TRANSLATE_NOOP("CFlashTool", "The BIOS was saved to %1."), copyTo)};
        const std::string error = copyReplacing(image.filePath(), target.filePath());
        if (!error.empty())
            return {false,
                    said(QT_TRANSLATE_NOOP("CFlashTool", "The BIOS image could not be copied to %1: %2"),
                         copyTo, error)};
        return {true, said(QT_TRANSLATE_NOOP("CFlashTool", "The BIOS was saved to %1."), copyTo)};
    }
};

CFlashTool::CFlashTool(std::string programDir, std::string workDir)
    : m_programDir(std::move(programDir)), m_workDir(std::move(workDir)) {}

CFlashTool::~CFlashTool() {
    // The job finishes on its own and still reports.
    if (m_job) m_job->orphaned = true;
}

bool CFlashTool::running() const {
    return m_job != nullptr;
}

std::string CFlashTool::toolPath() const {
    const QFileInfo local(QDir(q(m_programDir)).filePath(kToolName));
    if (!m_programDir.empty() && local.isFile() && local.isExecutable())
        return local.absoluteFilePath().toStdString();
    return QStandardPaths::findExecutable(kToolName).toStdString();
}

std::vector<std::string> CFlashTool::saveArguments(const std::string& targetPath) {
    return {"-b", QFileInfo(q(targetPath)).fileName().toStdString()};
}

std::vector<std::string> CFlashTool::flashArguments(const std::string& imagePath) {
    return {"-4", "-5", "-6", imagePath};
}

bool CFlashTool::saveBios(const std::string& targetPath, Done done) {
    std::vector<std::string> arguments = saveArguments(targetPath);
    std::string image = QDir(q(m_workDir)).filePath(q(arguments.back())).toStdString();
    return start(std::move(arguments), std::move(image), targetPath, std::move(done));
}

bool CFlashTool::flashBios(const std::string& imagePath, Done done) {
    return start(flashArguments(imagePath), {}, {}, std::move(done));
}

bool CFlashTool::start(std::vector<std::string> arguments, std::string copyFrom, std::string copyTo,
                       Done done) {
    if (m_job) {
        if (done)
            done({false, said(QT_TRANSLATE_NOOP("CFlashTool", "The flashing tool is already running."))});
        return false;
    }
    const std::string tool = toolPath();
    if (tool.empty()) {
        if (done)
            done({false, said(QT_TRANSLATE_NOOP("CFlashTool",
                                                "The flashing tool %1 was found neither in the program's "
                                                "folder nor on the search path."),
                              kToolName)});
        return false;
    }

    auto job = std::make_shared<Job>();
    job->copyFrom = std::move(copyFrom);
    job->copyTo = std::move(copyTo);
    job->done = std::move(done);
    if (!job->copyFrom.empty()) {
        const QFileInfo before(q(job->copyFrom));
        job->imageExisted = before.exists();
        job->imageTime = before.lastModified();
    }

    // Not parented: the process must outlive the page if the settings window closes.
    auto* process = new QProcess;
    job->process = process;
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setWorkingDirectory(q(m_workDir));
    QStringList list;
    for (const std::string& a : arguments) list << q(a);

    // `this` may be gone when these fire: its destructor marks the job orphaned.
    auto finish = [this, job](const Outcome& result) {
        job->process->deleteLater();
        Done report = std::move(job->done);
        if (!job->orphaned) m_job.reset();
        if (report) report(result);
    };
    QObject::connect(
        process, &QProcess::finished, process,
        [job, finish](int code, QProcess::ExitStatus status) { finish(job->outcome(code, status)); });
    QObject::connect(process, &QProcess::errorOccurred, process, [job, finish](QProcess::ProcessError error) {
        // Only a failed start ends the run here; other errors are followed by finished().
        if (error == QProcess::FailedToStart)
            finish({false, said(QT_TRANSLATE_NOOP("CFlashTool", "The flashing tool could not be started: %1"),
                                job->process->errorString().toStdString())});
    });

    m_job = job;
    process->start(q(tool), list, QIODevice::ReadWrite);
    if (m_job) process->closeWriteChannel();  // it gets no answers from us, only end of input
    return m_job != nullptr;
}

}  // namespace setup
