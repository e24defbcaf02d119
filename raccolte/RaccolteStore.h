#pragma once
#include <QString>
#include <optional>
#include <utility>
#include <vector>

struct sqlite3;

// The user's raccolte: named collections of maxims, each with a note of the user's, in the user's
// order, and the recent searches, kept in one SQLite file in the user's data folder. This is the
// program's only user data, so the store is built around never losing it: every change is its own
// committed transaction (nothing waits in memory for a "save"), a file that is not a database is set
// aside rather than overwritten, a file written by a newer program is only read, and every fault comes
// back as a value (RaccolteFault) that the windows turn into an Italian message (Raccolte::message).
//
// A maxim is kept by where it was (archive, topic, place) and also by what it is (its citation and the
// opening of its text, with the whole text), so that a later edition of the data that moves it still
// finds it (MaximLocator) and one that drops it still shows what the user collected.

enum class RaccolteFault {
    None,
    Unavailable,   // no database: the folder cannot be written, or the file could not be opened
    ReadOnly,      // written by a newer version of the program: shown, never changed
    Busy,          // another running copy kept the file locked for longer than the wait
    DiskFull,
    NameEmpty,
    NameTaken,
    NotFound,      // the raccolta or the maxim is no longer there (another copy removed it)
    Failed,        // any other error of the database, with its text in the detail
};

struct RaccolteError {
    RaccolteFault fault = RaccolteFault::None;
    QString detail;   // the database's own text, for the rare faults without a message of their own
    explicit operator bool() const { return fault != RaccolteFault::None; }
};

template <class T>
struct RaccolteResult {
    T value{};
    RaccolteError error;
    bool ok() const { return !error; }
};

struct RaccoltaInfo {
    long long id = 0;
    QString name;
    int count = 0;   // maxims in it
};

// A maxim as the windows hand it over: where it is now, and its whole text with the citation.
struct MaximRef {
    QString archive;   // "condominio"
    int topic = 0;
    int maxim = 0;
    QString text;
};

struct StoredMaxim {
    long long id = 0;
    long long raccolta = 0;
    int position = 0;   // from 0, the user's order
    QString archive;
    int topic = 0;
    int maxim = 0;
    QString citation;   // the citation's text, as Citations::text gives it
    QString opening;    // the start of the text, which with the citation tells the maxim apart
    QString text;       // the whole text as it was when added
    QString note;
};

class RaccolteStore {
public:
    static constexpr int SchemaVersion = 2;
    static constexpr int RecentLimit = 20;
    static constexpr int BusyTimeoutMs = 5000;

    enum class State { Closed, Ready, ReadOnlyNewer, Unavailable };
    struct OpenReport {
        State state = State::Closed;
        QString setAside;   // where a damaged file was moved; empty when none was
        QString reason;     // why the store is unavailable (the system's words)
    };

    RaccolteStore();
    ~RaccolteStore();
    RaccolteStore(const RaccolteStore&) = delete;
    RaccolteStore& operator=(const RaccolteStore&) = delete;

    // The file in the user's data folder, or the one set by setPathOverride (tests and scripts point
    // the program at a file of their own through it).
    static QString defaultPath();
    static void setPathOverride(const QString& path);
    static bool pathOverridden();
    // The one store of the running program, opened at first use on defaultPath().
    static RaccolteStore& shared();
    // Closes the shared store, so that the next shared() opens defaultPath() again.
    static void resetShared();

    OpenReport open(const QString& path);
    void close();
    State state() const { return state_; }
    const OpenReport& openReport() const { return report_; }
    QString path() const { return path_; }
    bool writable() const { return state_ == State::Ready; }

    RaccolteResult<std::vector<RaccoltaInfo>> raccolte() const;
    RaccolteResult<std::optional<RaccoltaInfo>> find(const QString& name) const;
    RaccolteResult<std::vector<StoredMaxim>> maxims(long long raccolta) const;
    // The raccolta most recently added to, created or opened; none when there is none.
    RaccolteResult<std::optional<RaccoltaInfo>> lastUsed() const;

    RaccolteResult<long long> create(const QString& name);
    RaccolteError rename(long long raccolta, const QString& name);
    RaccolteError remove(long long raccolta);
    RaccolteError touch(long long raccolta);   // makes it the last used
    struct Added {
        int added = 0;
        int already = 0;   // maxims that were in the raccolta and were not added again
        std::vector<long long> ids;   // the new entries, in the order given
    };
    // Adds at the end, in one transaction; a maxim already there (same citation and opening) is left.
    RaccolteResult<Added> add(long long raccolta, const std::vector<MaximRef>& maxims, const QString& note = QString());
    RaccolteError setNote(long long maxim, const QString& note);
    RaccolteError removeMaxim(long long maxim);
    // Puts a removed maxim back at its former position (the window's undo); returns its new id.
    RaccolteResult<long long> restore(const StoredMaxim& maxim);
    // Moves one maxim to `index` (from 0) of its raccolta's order, the others keeping theirs.
    RaccolteError move(long long maxim, int index);

    RaccolteError rememberSearch(const QString& query);
    RaccolteResult<std::vector<QString>> recentSearches() const;   // newest first

    // The opening kept for a text: its first characters, blanks made single, citation left out.
    static QString openingOf(const QString& text);

    // For the full-disk tests: caps the file at `pages` pages, as a full disk would.
    void limitPages(int pages);

private:
    RaccolteError begin();
    RaccolteError commit();
    void rollback();
    RaccolteError writeGuard() const;
    RaccolteError fault(int code) const;
    // What a one-statement write must have done: nothing in particular, change a row (none changed is
    // NotFound), or change a row by a name that must stay unique (a clash is NameTaken).
    enum class Expect { Nothing, Row, NamedRow };
    RaccolteError writeOne(const char* sql, const QString* text, long long id, Expect expect);
    bool exec(const char* sql);
    int userVersion();
    RaccolteError migrate(int from);
    // The raccolta's (id, position) pairs in order, leaving out `except`; a SQLite result code.
    int order(long long raccolta, long long except, std::vector<std::pair<long long, long long>>& list);
    // The position for a maxim put at `index` of `list`, renumbering the raccolta when there is no room.
    int positionAt(std::vector<std::pair<long long, long long>>& list, int index, long long* position);

    sqlite3* db_ = nullptr;
    State state_ = State::Closed;
    OpenReport report_;
    QString path_;
};

namespace Raccolte {
// The Italian message for a fault, as the windows and the command line show it.
QString message(const RaccolteError& error);
// The Italian message for an open that did not give a writable store (empty when it did and nothing
// was set aside): said once, by the first window that needs the raccolte.
QString openMessage(const RaccolteStore::OpenReport& report, const QString& path);
} // namespace Raccolte
