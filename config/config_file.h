#pragma once

#include "config/store.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

// The configuration file ("*.vsk"): the whole store as INI-like Windows-1252 text with CR LF.
namespace vandorelle {

inline constexpr char kConfigFileSuffix[] = "vsk";

// Every section in its fixed order. Group check boxes must already be in the store.
QByteArray writeConfigFile(const ConfigStore &store);

struct LoadResult {
    enum class Status {
        Loaded,       // every line read
        Incomplete,   // read to the end, but the last section lacks its closing key
        NoSettings,   // not a single known section
        NotAnInteger, // stopped at a number field that is not an integer
        Unreadable,   // could not be opened or read
    };
    bool ok = true;
    Status status = Status::Loaded;
    QString message; // empty when ok
    int line = 0;    // 1-based line the message refers to; 0 when none
};

// Called with each section name as its header is read (the window shows it in status panel 6).
using SectionCallback = std::function<void(const QString &sectionName)>;

// Sets every Senden flag, then stores what the lines hold; fields the file does not set keep
// their values. Values committed before an error stay.
LoadResult readConfigFile(const QByteArray &bytes, ConfigStore &store,
                          const SectionCallback &onSection = {});

// Feeds a file line by line (without its line end), for callers that stream.
class ConfigFileReader {
public:
    explicit ConfigFileReader(ConfigStore &store, SectionCallback onSection = {});
    ~ConfigFileReader();
    ConfigFileReader(const ConfigFileReader &) = delete;
    ConfigFileReader &operator=(const ConfigFileReader &) = delete;

    // Returns false once the load has stopped; later lines are ignored.
    bool feedLine(const QByteArray &line);
    LoadResult finish();

private:
    struct State;
    std::unique_ptr<State> d;
};

// Atomic: the previous file stays untouched unless the new one was written completely.
// Returns the system's error text, or an empty string on success.
QString saveConfigFile(const QString &path, const ConfigStore &store);
LoadResult loadConfigFile(const QString &path, ConfigStore &store,
                          const SectionCallback &onSection = {});

} // namespace vandorelle
