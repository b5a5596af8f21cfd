#include "app/command_line.h"

#include <dlfcn.h>
#include <unistd.h>

#include <QCommandLineParser>
#include <QStringList>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/status_fields.h"
#include "gpu/driver_binding.h"
#include "nvapi_contract.h"

namespace app {
namespace {

std::string absoluteFrom(const std::string& dir, const std::string& path) {
    std::filesystem::path p(path);
    if (p.is_absolute()) return p.lexically_normal().string();
    return (std::filesystem::path(dir) / p).lexically_normal().string();
}

CommandLine failed(QString text) {
    CommandLine c;
    c.run = CommandLine::Run::Error;
    c.text = text.toStdString();
    return c;
}

bool parseFormat(const QString& value, StatusFormat& format) {
    if (value == QLatin1String("text"))
        format = StatusFormat::Text;
    else if (value == QLatin1String("json"))
        format = StatusFormat::Json;
    else if (value == QLatin1String("csv"))
        format = StatusFormat::Csv;
    else
        return false;
    return true;
}

bool parseGpu(const QString& value, int& gpu) {
    if (value == QLatin1String("all")) {
        gpu = kAllGpus;
        return true;
    }
    bool ok = false;
    const uint n = value.toUInt(&ok);
    if (!ok || n > 63) return false;
    gpu = int(n);
    return true;
}

// The names of --query, or the unknown ones in unknown.
std::vector<std::string> parseQuery(const QString& value, QStringList& unknown) {
    std::vector<std::string> fields;
    for (const QString& name : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const std::string key = name.trimmed().toStdString();
        if (key == kTimestampField || findStatusField(key))
            fields.push_back(key);
        else
            unknown << name.trimmed();
    }
    return fields;
}

constexpr const char* kExitCodes =
    "\nExit status:\n"
    "  0  success\n"
    "  1  the window program found no display, or no folder for the user's settings\n"
    "  2  a mistake on the command line (an unknown --query field included)\n"
    "  3  --status: the driver library or NVIDIA's management library (libnvidia-ml.so.1) not found\n"
    "  4  --status: the NVIDIA driver is not loaded or does not answer\n"
    "  5  --status: the driver reports no GPU\n"
    "  6  --status: there is no GPU of the number given with --gpu\n"
    "  7  --set, --apply-profile: a value outside the card's range, or a write the driver or the\n"
    "     service refused (nothing is written when a value is out of range)\n"
    "  8  --persist or --service-status: the service vantreld does not answer\n"
    "\nExamples:\n"
    "  vantrel --set power=90,temp-target=80          once, on the GPU in use\n"
    "  vantrel --set fan=curve,hysteresis=3 --persist  the service runs the settings' fan curve\n"
    "  vantrel --set gpu-offset=100,mem-offset=500 --gpu all --persist\n"
    "  vantrel --apply-profile 2 --persist            the clock panel's profile 2, kept\n"
    "  vantrel --service-status --format json\n";

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args, const char* environmentDriver,
                             const std::string& executableDir, const std::string& startDir) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Readings, clock tuning and a fan curve for NVIDIA cards."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version."));
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Work on the simulated card, described by CARD.xml if given."));
    const QCommandLineOption driver(
        QStringLiteral("driver"),
        QStringLiteral("Bind this driver library (default: VANTREL_DRIVER, else the "
                       "NVML bridge)."),
        QStringLiteral("path"));
    const QCommandLineOption status(QStringLiteral("status"),
                                    QStringLiteral("Print the readings without a window and exit."));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("Status as text (default), json or csv."),
                                    QStringLiteral("format"));
    const QCommandLineOption gpu(QStringLiteral("gpu"), QStringLiteral("Status of GPU N, or of all GPUs."),
                                 QStringLiteral("N|all"));
    const QCommandLineOption loop(QStringLiteral("loop"),
                                  QStringLiteral("Print a new status every SECONDS until interrupted."),
                                  QStringLiteral("seconds"));
    const QCommandLineOption query(
        QStringLiteral("query"), QStringLiteral("Status fields to report, by their JSON names (json, csv)."),
        QStringLiteral("field,..."));
    const QCommandLineOption noHeader(QStringLiteral("no-header"),
                                      QStringLiteral("CSV status without its header."));
    const QCommandLineOption noUnits(QStringLiteral("no-units"),
                                     QStringLiteral("CSV status with the text facts as bare numbers."));
    const QCommandLineOption verbose(QStringLiteral("verbose"),
                                     QStringLiteral("Status with the driver layer's diagnostics on stderr."));
    const QCommandLineOption selfTest(
        QStringLiteral("self-test"),
        QStringLiteral("Write each setting's current value back and read it again, on every GPU, and exit."));
    const QCommandLineOption snapshot(QStringLiteral("snapshot"),
                                      QStringLiteral("Draw every window offscreen into DIR and exit."),
                                      QStringLiteral("dir"));
    const QCommandLineOption set(
        QStringLiteral("set"),
        QStringLiteral("Write values and exit. Keys: fan=auto|PERCENT|curve (curve: the settings' curve, "
                       "form and period), power=PERCENT, temp-target=C, gpu-offset=MHz, mem-offset=MHz, "
                       "hysteresis=C (with fan=curve). A fixed fan or a curve needs --persist."),
        QStringLiteral("key=value,..."));
    const QCommandLineOption applyProfile(
        QStringLiteral("apply-profile"),
        QStringLiteral("Write the clock panel's profile N (clocks, power and temperature target) and exit."),
        QStringLiteral("1|2|3"));
    const QCommandLineOption persist(
        QStringLiteral("persist"),
        QStringLiteral("With --set or --apply-profile: the service vantreld keeps the values, applies them "
                       "at every start and runs a kept fan curve itself."));
    const QCommandLineOption serviceStatus(
        QStringLiteral("service-status"),
        QStringLiteral("Print what the service keeps and does for each GPU, and who holds its fans "
                       "(--format text or json)."));
    parser.addOptions({help, version, simulate, driver, status, format, gpu, loop, query, noHeader, noUnits,
                       verbose, selfTest, snapshot, set, applyProfile, persist, serviceStatus});
    parser.addPositionalArgument(QStringLiteral("CARD.xml"),
                                 QStringLiteral("The simulated card (with --simulate)."),
                                 QStringLiteral("[CARD.xml]"));

    QStringList list{QStringLiteral("vantrel")};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // The parser would take the next option for the value: "--snapshot --simulate".
        const bool wantsValue = arg == "--driver" || arg == "--format" || arg == "--gpu" || arg == "--loop" ||
                                arg == "--query" || arg == "--snapshot" || arg == "--set" ||
                                arg == "--apply-profile";
        if (wantsValue && (i + 1 == args.size() || args[i + 1].rfind("-", 0) == 0))
            return failed(QStringLiteral("Missing value after '%1'.").arg(QString::fromStdString(arg)));
        // --simulate takes an optional value, which the parser has no notion of.
        if (arg.rfind("--simulate=", 0) == 0) {
            list << QStringLiteral("--simulate") << QString::fromStdString(arg.substr(11));
            continue;
        }
        list << QString::fromStdString(arg);
    }
    if (!parser.parse(list)) return failed(parser.errorText());

    CommandLine c;
    if (parser.isSet(help)) {
        c.run = CommandLine::Run::Help;
        // Without an application object the parser cannot know the program's name.
        c.text = parser.helpText()
                     .replace(QStringLiteral("<executable_name>"), QStringLiteral("vantrel"))
                     .toStdString() +
                 kExitCodes;
        return c;
    }
    if (parser.isSet(version)) {
        c.run = CommandLine::Run::Version;
        c.text = "vantrel " VANTREL_VERSION "\n";
        return c;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1 || (!positional.isEmpty() && !parser.isSet(simulate)))
        return failed(QStringLiteral("Unexpected argument '%1'.").arg(positional.last()));
    for (const QCommandLineOption* o :
         {&driver, &format, &gpu, &loop, &query, &snapshot, &set, &applyProfile})
        if (parser.values(*o).size() > 1)
            return failed(QStringLiteral("--%1 given more than once.").arg(o->names().first()));
    if (int(parser.isSet(status)) + int(parser.isSet(snapshot)) + int(parser.isSet(selfTest)) +
            int(parser.isSet(set)) + int(parser.isSet(applyProfile)) + int(parser.isSet(serviceStatus)) >
        1)
        return failed(
            QStringLiteral("--status, --self-test, --snapshot, --set, --apply-profile and "
                           "--service-status exclude each other."));

    if (parser.isSet(snapshot)) {
        const std::string dir = parser.value(snapshot).toStdString();
        // An empty folder name is no folder, never the start directory.
        if (dir.empty()) return failed(QStringLiteral("--snapshot needs a folder."));
        c.run = CommandLine::Run::Snapshot;
        c.snapshotDir = absoluteFrom(startDir, dir);
    } else if (parser.isSet(status)) {
        c.run = CommandLine::Run::Status;
    } else if (parser.isSet(selfTest)) {
        c.run = CommandLine::Run::SelfTest;
    } else if (parser.isSet(set)) {
        c.run = CommandLine::Run::Set;
        std::string error;
        if (!parseSetList(parser.value(set).toStdString(), c.set, error))
            return failed(QString::fromStdString(error));
        if ((c.set.fields & nvapi::KEPT_FAN) && c.set.fan != SetRequest::Fan::Auto && !parser.isSet(persist))
            // The program hands every fan it set back to the driver when it exits.
            return failed(
                QStringLiteral("A fixed fan level or a fan curve lasts only as long as something "
                               "runs it: add --persist to have the service keep it."));
    } else if (parser.isSet(applyProfile)) {
        c.run = CommandLine::Run::ApplyProfile;
        const QString n = parser.value(applyProfile);
        if (n != QLatin1String("1") && n != QLatin1String("2") && n != QLatin1String("3"))
            return failed(QStringLiteral("--apply-profile wants 1, 2 or 3, not '%1'.").arg(n));
        c.profile = n.toInt();
    } else if (parser.isSet(serviceStatus)) {
        c.run = CommandLine::Run::ServiceStatus;
    }
    using Run = CommandLine::Run;
    const bool writes = c.run == Run::Set || c.run == Run::ApplyProfile;
    if (parser.isSet(persist) && !writes)
        return failed(QStringLiteral("--persist goes with --set or --apply-profile."));
    c.persist = parser.isSet(persist);
    const bool gpuChoice = c.run == Run::Status || writes || c.run == Run::ServiceStatus;
    const bool formatChoice = c.run == Run::Status || c.run == Run::ServiceStatus;
    if ((parser.isSet(format) && !formatChoice) || (parser.isSet(gpu) && !gpuChoice) ||
        (c.run != Run::Status &&
         (parser.isSet(loop) || parser.isSet(query) || parser.isSet(noHeader) || parser.isSet(noUnits) ||
          (parser.isSet(verbose) && c.run != Run::SelfTest))))
        return failed(
            QStringLiteral("--format, --gpu, --loop, --query, --no-header, --no-units and --verbose go "
                           "with --status (--gpu also with --set, --apply-profile and --service-status, "
                           "--format with --service-status)."));
    if (parser.isSet(query)) {
        QStringList unknown;
        c.status.query = parseQuery(parser.value(query), unknown);
        if (!unknown.isEmpty())
            return failed(
                QStringLiteral("Unknown --query field: %1.").arg(unknown.join(QStringLiteral(", "))));
        if (c.status.query.empty()) return failed(QStringLiteral("--query needs at least one field."));
    }
    c.status.header = !parser.isSet(noHeader);
    c.status.units = !parser.isSet(noUnits);
    c.status.verbose = parser.isSet(verbose);
    if (parser.isSet(format) && !parseFormat(parser.value(format), c.status.format))
        return failed(QStringLiteral("Unknown --format '%1' (text, json or csv).").arg(parser.value(format)));
    if (c.run == Run::ServiceStatus && c.status.format == StatusFormat::Csv)
        return failed(QStringLiteral("--service-status prints text or json."));
    if (parser.isSet(gpu) && !parseGpu(parser.value(gpu), c.status.gpu))
        return failed(QStringLiteral("--gpu wants a GPU number or 'all', not '%1'.").arg(parser.value(gpu)));
    if (parser.isSet(loop)) {
        bool ok = false;
        const double seconds = parser.value(loop).toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds < 0.1 || seconds > 86400)
            return failed(
                QStringLiteral("--loop wants seconds from 0.1 to 86400, not '%1'.").arg(parser.value(loop)));
        c.status.loopSeconds = seconds;
    }

    if (!positional.isEmpty()) c.simulatedCard = absoluteFrom(startDir, positional.first().toStdString());
    std::string library = parser.value(driver).toStdString();
    if (parser.isSet(driver) && library.empty()) return failed(QStringLiteral("--driver needs a path."));
    if (library.empty() && environmentDriver && *environmentDriver) library = environmentDriver;
    if (!library.empty())
        c.libraryPath = absoluteFrom(startDir, library);
    else
        c.libraryPath =
            executableDir + (parser.isSet(simulate) ? "/lib/libnvapi-sim.so" : "/lib/libnvapi-nvml.so");
    return c;
}

void applyDriverChoice(const CommandLine& commandLine) {
    if (!commandLine.simulatedCard.empty()) setenv("VANTREL_SIM_CARD", commandLine.simulatedCard.c_str(), 1);
    gpu::DriverBinding::setLibraryPath(commandLine.libraryPath);
}

std::string driverLoadError(const std::string& libraryPath) {
    dlerror();
    void* handle = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle) {
        dlclose(handle);
        return {};
    }
    const char* why = dlerror();
    return why ? why : "unknown reason";
}

std::string currentDirectory() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

}  // namespace app
