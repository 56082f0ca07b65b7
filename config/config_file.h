#pragma once

#include "config/store.h"

#include <QByteArray>
#include <QByteArrayView>
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
        Loaded,       // the whole file read and stored
        Incomplete,   // a section, a line of one, or the file's last line end is missing
        NoSettings,   // not a single known section
        NotAnInteger, // a number field that is not an integer
        OutOfRange,   // a value its field cannot hold, or a name Windows-1252 cannot carry
        Unreadable,   // could not be opened or read
    };
    bool ok = true;
    Status status = Status::Loaded;
    QString message; // empty when ok
    int line = 0;    // 1-based line the message refers to; 0 when none
};

// Called with each section name as its header is read (the window shows it in status panel 6).
using SectionCallback = std::function<void(const QString &sectionName)>;

// A file loads only when it is whole and sound: every section the save writes, each with all
// its lines, every value in its field's range, the last line ended. Then its values replace
// the store's and every record is marked pending; otherwise the store stays exactly as it was.
// A file that begins with a UTF-8 byte-order mark is read as UTF-8, any other as Windows-1252.
LoadResult readConfigFile(const QByteArray &bytes, ConfigStore &store,
                          const SectionCallback &onSection = {});

// The same load fed piece by piece, for callers that read a file in blocks.
class ConfigFileReader {
public:
    explicit ConfigFileReader(ConfigStore &store, SectionCallback onSection = {});
    ~ConfigFileReader();
    ConfigFileReader(const ConfigFileReader &) = delete;
    ConfigFileReader &operator=(const ConfigFileReader &) = delete;

    // The next bytes of the file; a line may run over several pieces. Returns false once the
    // load has failed; later bytes are ignored.
    bool feed(QByteArrayView bytes);
    // Ends the load and, when it succeeded, stores what was read.
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
