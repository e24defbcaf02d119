#include "RaccolteStore.h"
#include "search/Citation.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>
#include <sqlite3.h>

namespace {

QString overridePath;
std::unique_ptr<RaccolteStore> sharedStore;

// One prepared statement, finalized when it goes out of scope.
class Stmt {
public:
    Stmt(sqlite3* db, const char* sql) { code_ = sqlite3_prepare_v2(db, sql, -1, &s_, nullptr); }
    ~Stmt() { sqlite3_finalize(s_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    bool prepared() const { return code_ == SQLITE_OK; }
    int prepareCode() const { return code_; }
    Stmt& bind(int i, long long v) { sqlite3_bind_int64(s_, i, v); return *this; }
    Stmt& bind(int i, const QString& v)
    {
        const QByteArray u = v.toUtf8();
        sqlite3_bind_text(s_, i, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        return *this;
    }
    int step() { return sqlite3_step(s_); }
    void reset() { sqlite3_reset(s_); }
    long long integer(int c) const { return sqlite3_column_int64(s_, c); }
    QString text(int c) const
    {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s_, c)), sqlite3_column_bytes(s_, c));
    }

private:
    sqlite3_stmt* s_ = nullptr;
    int code_ = SQLITE_OK;
};

// Each step takes the schema from the version before it to its own; a file is brought up to date in
// one transaction, so that it is either all old or all new.
const char* const migrations[RaccolteStore::SchemaVersion] = {
    // 1: the raccolte and their maxims.
    "CREATE TABLE raccolta("
    "  id INTEGER PRIMARY KEY,"
    "  name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
    "  used INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE voce("
    "  id INTEGER PRIMARY KEY,"
    "  raccolta INTEGER NOT NULL REFERENCES raccolta(id) ON DELETE CASCADE,"
    "  position INTEGER NOT NULL,"
    "  archive TEXT NOT NULL, topic INTEGER NOT NULL, maxim INTEGER NOT NULL,"
    "  citation TEXT NOT NULL, opening TEXT NOT NULL, text TEXT NOT NULL,"
    "  note TEXT NOT NULL DEFAULT '',"
    "  UNIQUE(raccolta, citation, opening));"
    "CREATE INDEX voce_order ON voce(raccolta, position);",
    // 2: the recent searches of the search window.
    "CREATE TABLE recent_search(query TEXT PRIMARY KEY, used INTEGER NOT NULL);",
};

QString trimmedName(const QString& name) { return name.simplified(); }

// Why a file could not be opened for writing, in the user's words where the cause is a common one.
QString openFailure(sqlite3* db, const QString& path)
{
    const QString file = QDir::toNativeSeparators(path);
    switch (db ? sqlite3_errcode(db) & 0xff : SQLITE_CANTOPEN) {
    case SQLITE_READONLY:
    case SQLITE_PERM: return QStringLiteral("il file %1 o la sua cartella non si possono scrivere").arg(file);
    case SQLITE_CANTOPEN: return QStringLiteral("il file %1 non può essere aperto").arg(file);
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QStringLiteral("il file %1 è bloccato da un altro programma").arg(file);
    case SQLITE_FULL: return QStringLiteral("il disco è pieno");
    default: return QStringLiteral("il file %1 non è utilizzabile (%2)").arg(file, QString::fromUtf8(sqlite3_errmsg(db)));
    }
}

} // namespace

RaccolteStore::RaccolteStore() = default;
RaccolteStore::~RaccolteStore() { close(); }

QString RaccolteStore::defaultPath()
{
    if (!overridePath.isEmpty()) return overridePath;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/raccolte.sqlite");
}

void RaccolteStore::setPathOverride(const QString& path)
{
    overridePath = path;
    resetShared();
}

bool RaccolteStore::pathOverridden() { return !overridePath.isEmpty(); }

RaccolteStore& RaccolteStore::shared()
{
    if (!sharedStore) {
        sharedStore = std::make_unique<RaccolteStore>();
        sharedStore->open(defaultPath());
    }
    return *sharedStore;
}

void RaccolteStore::resetShared() { sharedStore.reset(); }

void RaccolteStore::close()
{
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    state_ = State::Closed;
}

bool RaccolteStore::exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

int RaccolteStore::userVersion()
{
    Stmt s(db_, "PRAGMA user_version");
    if (!s.prepared()) return -s.prepareCode();
    const int rc = s.step();
    if (rc != SQLITE_ROW) return -rc;
    return int(s.integer(0));
}

RaccolteStore::OpenReport RaccolteStore::open(const QString& path)
{
    close();
    path_ = path;
    report_ = OpenReport{};
    auto unavailable = [this](const QString& why) {
        close();
        state_ = State::Unavailable;
        report_.state = state_;
        report_.reason = why;
        return report_;
    };
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return unavailable(QStringLiteral("la cartella %1 non può essere creata").arg(QDir::toNativeSeparators(info.absolutePath())));

    for (int attempt = 0; attempt < 2; ++attempt) {
        const QByteArray file = QFile::encodeName(path);
        if (sqlite3_open_v2(file.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
            return unavailable(openFailure(db_, path));
        }
        sqlite3_busy_timeout(db_, BusyTimeoutMs);
        sqlite3_extended_result_codes(db_, 0);
        int version = userVersion();
        bool damaged = version == -SQLITE_NOTADB || version == -SQLITE_CORRUPT;
        if (!damaged && version >= 0) {
            Stmt check(db_, "PRAGMA quick_check");
            const int rc = check.prepared() ? check.step() : check.prepareCode();
            damaged = rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT || (rc == SQLITE_ROW && check.text(0) != QLatin1String("ok"));
            check.reset();
        }
        if (damaged && attempt == 0) {
            close();
            // Never overwritten: the damaged file goes aside under a dated name, with its journal.
            const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
            QString aside = info.absolutePath() + QStringLiteral("/raccolte-danneggiato-") + stamp + QStringLiteral(".sqlite");
            for (int n = 2; QFileInfo::exists(aside); ++n)
                aside = info.absolutePath() + QStringLiteral("/raccolte-danneggiato-%1-%2.sqlite").arg(stamp).arg(n);
            if (!QFile::rename(path, aside))
                return unavailable(QStringLiteral("il file %1 è danneggiato e non può essere spostato").arg(QDir::toNativeSeparators(path)));
            for (const char* side : {"-wal", "-shm"})
                if (QFileInfo::exists(path + QLatin1String(side))) QFile::rename(path + QLatin1String(side), aside + QLatin1String(side));
            report_.setAside = aside;
            continue;
        }
        if (version < 0) return unavailable(openFailure(db_, path));
        if (version > SchemaVersion) {
            // Written by a newer program: read with care, change nothing.
            close();
            if (sqlite3_open_v2(file.constData(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
                return unavailable(openFailure(db_, path));
            sqlite3_busy_timeout(db_, BusyTimeoutMs);
            state_ = State::ReadOnlyNewer;
            report_.state = state_;
            return report_;
        }
        {
            Stmt wal(db_, "PRAGMA journal_mode=WAL");
            if (!wal.prepared() || wal.step() != SQLITE_ROW || wal.text(0) != QLatin1String("wal"))
                return unavailable(openFailure(db_, path));
        }
        // Every commit reaches the disk before the change is reported done.
        exec("PRAGMA synchronous=FULL");
        exec("PRAGMA foreign_keys=ON");
        if (const RaccolteError e = migrate(version)) return unavailable(e.detail.isEmpty() ? Raccolte::message(e) : e.detail);
        state_ = State::Ready;
        report_.state = state_;
        return report_;
    }
    return unavailable(QStringLiteral("il file %1 non è utilizzabile").arg(QDir::toNativeSeparators(path)));
}

RaccolteError RaccolteStore::migrate(int from)
{
    if (from == SchemaVersion) return {};
    if (RaccolteError e = begin()) return e;
    // Another running copy may have brought the file up to date while this one waited.
    int version = userVersion();
    if (version < 0) {
        rollback();
        return fault(-version);
    }
    for (int v = version; v < SchemaVersion; ++v) {
        if (sqlite3_exec(db_, migrations[v], nullptr, nullptr, nullptr) != SQLITE_OK) {
            const RaccolteError e = fault(sqlite3_errcode(db_));
            rollback();
            return e;
        }
    }
    const QByteArray set = QByteArrayLiteral("PRAGMA user_version=") + QByteArray::number(SchemaVersion);
    if (version < SchemaVersion && !exec(set.constData())) {
        const RaccolteError e = fault(sqlite3_errcode(db_));
        rollback();
        return e;
    }
    return commit();
}

RaccolteError RaccolteStore::fault(int code) const
{
    RaccolteError e;
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW: return e;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: e.fault = RaccolteFault::Busy; break;
    case SQLITE_FULL: e.fault = RaccolteFault::DiskFull; break;
    case SQLITE_READONLY: e.fault = RaccolteFault::ReadOnly; break;
    default: e.fault = RaccolteFault::Failed; break;
    }
    e.detail = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(code));
    return e;
}

RaccolteError RaccolteStore::writeGuard() const
{
    if (state_ == State::ReadOnlyNewer) return {RaccolteFault::ReadOnly, QString()};
    if (state_ != State::Ready) return {RaccolteFault::Unavailable, report_.reason};
    return {};
}

RaccolteError RaccolteStore::begin()
{
    // IMMEDIATE takes the write lock at once, so that two copies wait for each other here rather than
    // failing half-way through a change.
    const int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    return fault(rc);
}

RaccolteError RaccolteStore::commit()
{
    const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) return {};
    const RaccolteError e = fault(rc);
    rollback();
    return e;
}

void RaccolteStore::rollback()
{
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void RaccolteStore::limitPages(int pages)
{
    if (!db_) return;
    const QByteArray sql = QByteArrayLiteral("PRAGMA max_page_count=") + QByteArray::number(pages);
    exec(sql.constData());
}

QString RaccolteStore::openingOf(const QString& text)
{
    const int s = Citations::start(text);
    return (s < 0 ? text : text.left(s)).simplified().left(80);
}

// ---------------------------------------------------------------------------------------------------
// Reading

RaccolteResult<std::vector<RaccoltaInfo>> RaccolteStore::raccolte() const
{
    RaccolteResult<std::vector<RaccoltaInfo>> r;
    if (!db_) {
        r.error = {RaccolteFault::Unavailable, report_.reason};
        return r;
    }
    Stmt s(db_, "SELECT r.id, r.name, (SELECT count(*) FROM voce v WHERE v.raccolta = r.id) FROM raccolta r "
                "ORDER BY r.name COLLATE NOCASE");
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) r.value.push_back(RaccoltaInfo{s.integer(0), s.text(1), int(s.integer(2))});
    if (rc != SQLITE_DONE) r.error = fault(rc);
    return r;
}

RaccolteResult<std::optional<RaccoltaInfo>> RaccolteStore::find(const QString& name) const
{
    RaccolteResult<std::optional<RaccoltaInfo>> r;
    if (!db_) {
        r.error = {RaccolteFault::Unavailable, report_.reason};
        return r;
    }
    Stmt s(db_, "SELECT r.id, r.name, (SELECT count(*) FROM voce v WHERE v.raccolta = r.id) FROM raccolta r WHERE r.name = ?");
    s.bind(1, trimmedName(name));
    const int rc = s.step();
    if (rc == SQLITE_ROW) r.value = RaccoltaInfo{s.integer(0), s.text(1), int(s.integer(2))};
    else if (rc != SQLITE_DONE) r.error = fault(rc);
    return r;
}

RaccolteResult<std::optional<RaccoltaInfo>> RaccolteStore::lastUsed() const
{
    RaccolteResult<std::optional<RaccoltaInfo>> r;
    if (!db_) {
        r.error = {RaccolteFault::Unavailable, report_.reason};
        return r;
    }
    Stmt s(db_, "SELECT r.id, r.name, (SELECT count(*) FROM voce v WHERE v.raccolta = r.id) FROM raccolta r "
                "ORDER BY r.used DESC, r.id DESC LIMIT 1");
    const int rc = s.step();
    if (rc == SQLITE_ROW) r.value = RaccoltaInfo{s.integer(0), s.text(1), int(s.integer(2))};
    else if (rc != SQLITE_DONE) r.error = fault(rc);
    return r;
}

RaccolteResult<std::vector<StoredMaxim>> RaccolteStore::maxims(long long raccolta) const
{
    RaccolteResult<std::vector<StoredMaxim>> r;
    if (!db_) {
        r.error = {RaccolteFault::Unavailable, report_.reason};
        return r;
    }
    Stmt s(db_, "SELECT id, position, archive, topic, maxim, citation, opening, text, note FROM voce "
                "WHERE raccolta = ? ORDER BY position, id");
    s.bind(1, raccolta);
    int rc;
    int index = 0;
    while ((rc = s.step()) == SQLITE_ROW) {
        StoredMaxim m;
        m.id = s.integer(0);
        m.raccolta = raccolta;
        m.position = index++;   // the order, whatever numbers the file holds
        m.archive = s.text(2);
        m.topic = int(s.integer(3));
        m.maxim = int(s.integer(4));
        m.citation = s.text(5);
        m.opening = s.text(6);
        m.text = s.text(7);
        m.note = s.text(8);
        r.value.push_back(std::move(m));
    }
    if (rc != SQLITE_DONE) r.error = fault(rc);
    return r;
}

RaccolteResult<std::vector<QString>> RaccolteStore::recentSearches() const
{
    RaccolteResult<std::vector<QString>> r;
    if (!db_) {
        r.error = {RaccolteFault::Unavailable, report_.reason};
        return r;
    }
    Stmt s(db_, "SELECT query FROM recent_search ORDER BY used DESC LIMIT ?");
    s.bind(1, RecentLimit);
    int rc;
    while ((rc = s.step()) == SQLITE_ROW) r.value.push_back(s.text(0));
    if (rc != SQLITE_DONE) r.error = fault(rc);
    return r;
}

// ---------------------------------------------------------------------------------------------------
// Changing: each public change is one transaction, committed before it returns.

constexpr long long PositionStep = 1024;

RaccolteResult<long long> RaccolteStore::create(const QString& name)
{
    RaccolteResult<long long> r;
    const QString n = trimmedName(name);
    if (n.isEmpty()) {
        r.error.fault = RaccolteFault::NameEmpty;
        return r;
    }
    if ((r.error = writeGuard())) return r;
    if ((r.error = begin())) return r;
    Stmt s(db_, "INSERT INTO raccolta(name, used) VALUES(?, (SELECT coalesce(max(used), 0) + 1 FROM raccolta))");
    s.bind(1, n);
    const int rc = s.step();
    if (rc != SQLITE_DONE) {
        r.error = (rc & 0xff) == SQLITE_CONSTRAINT ? RaccolteError{RaccolteFault::NameTaken, n} : fault(rc);
        rollback();
        return r;
    }
    r.value = sqlite3_last_insert_rowid(db_);
    r.error = commit();
    return r;
}

RaccolteError RaccolteStore::rename(long long raccolta, const QString& name)
{
    const QString n = trimmedName(name);
    if (n.isEmpty()) return {RaccolteFault::NameEmpty, QString()};
    return writeOne("UPDATE raccolta SET name = ? WHERE id = ?", &n, raccolta, Expect::NamedRow);
}

RaccolteError RaccolteStore::remove(long long raccolta)
{
    return writeOne("DELETE FROM raccolta WHERE id = ?", nullptr, raccolta, Expect::Nothing);
}

RaccolteError RaccolteStore::touch(long long raccolta)
{
    return writeOne("UPDATE raccolta SET used = (SELECT max(used) + 1 FROM raccolta) WHERE id = ?", nullptr, raccolta, Expect::Nothing);
}

// One statement as a transaction of its own, with its text (if any) and then the row's id bound.
RaccolteError RaccolteStore::writeOne(const char* sql, const QString* text, long long id, Expect expect)
{
    if (RaccolteError e = writeGuard()) return e;
    if (RaccolteError e = begin()) return e;
    Stmt s(db_, sql);
    if (text) s.bind(1, *text);
    s.bind(text ? 2 : 1, id);
    const int rc = s.step();
    RaccolteError e;
    if (rc != SQLITE_DONE)
        e = text && expect == Expect::NamedRow && (rc & 0xff) == SQLITE_CONSTRAINT ? RaccolteError{RaccolteFault::NameTaken, *text} : fault(rc);
    else if (expect != Expect::Nothing && sqlite3_changes(db_) == 0)
        e = {RaccolteFault::NotFound, QString()};
    else
        return commit();
    rollback();
    return e;
}

RaccolteResult<RaccolteStore::Added> RaccolteStore::add(long long raccolta, const std::vector<MaximRef>& list, const QString& note)
{
    RaccolteResult<Added> r;
    if ((r.error = writeGuard())) return r;
    if ((r.error = begin())) return r;
    auto fail = [&](int rc) {
        r.error = fault(rc);
        rollback();
        r.value = Added{};
        return r;
    };
    {
        Stmt exists(db_, "SELECT 1 FROM raccolta WHERE id = ?");
        exists.bind(1, raccolta);
        const int rc = exists.step();
        if (rc == SQLITE_DONE) {
            rollback();
            r.error.fault = RaccolteFault::NotFound;
            return r;
        }
        if (rc != SQLITE_ROW) return fail(rc);
    }
    Stmt next(db_, "SELECT coalesce(max(position), -1024) + 1024 FROM voce WHERE raccolta = ?");
    next.bind(1, raccolta);
    int rc = next.step();
    if (rc != SQLITE_ROW) return fail(rc);
    long long position = next.integer(0);
    next.reset();
    Stmt insert(db_, "INSERT OR IGNORE INTO voce(raccolta, position, archive, topic, maxim, citation, opening, text, note) "
                     "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const MaximRef& m : list) {
        insert.reset();
        insert.bind(1, raccolta).bind(2, position).bind(3, m.archive).bind(4, m.topic).bind(5, m.maxim);
        insert.bind(6, Citations::text(m.text)).bind(7, openingOf(m.text)).bind(8, m.text).bind(9, note);
        if ((rc = insert.step()) != SQLITE_DONE) return fail(rc);
        if (sqlite3_changes(db_) == 0) {
            ++r.value.already;
            continue;
        }
        ++r.value.added;
        position += PositionStep;
        r.value.ids.push_back(sqlite3_last_insert_rowid(db_));
    }
    Stmt used(db_, "UPDATE raccolta SET used = (SELECT max(used) + 1 FROM raccolta) WHERE id = ?");
    used.bind(1, raccolta);
    if ((rc = used.step()) != SQLITE_DONE) return fail(rc);
    if ((r.error = commit())) r.value = Added{};
    return r;
}

RaccolteError RaccolteStore::setNote(long long maxim, const QString& note)
{
    return writeOne("UPDATE voce SET note = ? WHERE id = ?", &note, maxim, Expect::Row);
}

RaccolteError RaccolteStore::removeMaxim(long long maxim)
{
    return writeOne("DELETE FROM voce WHERE id = ?", nullptr, maxim, Expect::Nothing);
}

// Positions leave room between maxims (PositionStep), so that a move or an undo writes one row: the
// new position is half-way between its neighbours. Only when two neighbours touch is the raccolta
// numbered afresh.

int RaccolteStore::order(long long raccolta, long long except, std::vector<std::pair<long long, long long>>& out)
{
    out.clear();
    Stmt ids(db_, "SELECT id, position FROM voce WHERE raccolta = ? ORDER BY position, id");
    ids.bind(1, raccolta);
    int rc;
    while ((rc = ids.step()) == SQLITE_ROW)
        if (ids.integer(0) != except) out.emplace_back(ids.integer(0), ids.integer(1));
    return rc;
}

int RaccolteStore::positionAt(std::vector<std::pair<long long, long long>>& list, int index, long long* position)
{
    index = std::clamp(index, 0, int(list.size()));
    auto room = [&]() -> std::optional<long long> {
        if (list.empty()) return 0;
        if (index == 0) return list.front().second - PositionStep;
        if (index == int(list.size())) return list.back().second + PositionStep;
        const long long before = list[std::size_t(index - 1)].second, after = list[std::size_t(index)].second;
        if (after - before < 2) return std::nullopt;
        return before + (after - before) / 2;
    };
    if (const auto p = room()) {
        *position = *p;
        return SQLITE_DONE;
    }
    Stmt set(db_, "UPDATE voce SET position = ? WHERE id = ?");
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i].second = (long long)(i) * PositionStep * 2;
        set.reset();
        set.bind(1, list[i].second).bind(2, list[i].first);
        if (const int rc = set.step(); rc != SQLITE_DONE) return rc;
    }
    *position = *room();
    return SQLITE_DONE;
}

RaccolteResult<long long> RaccolteStore::restore(const StoredMaxim& m)
{
    RaccolteResult<long long> r;
    if ((r.error = writeGuard())) return r;
    if ((r.error = begin())) return r;
    // Back at its place in the order as it now stands: after the maxims that were before it.
    std::vector<std::pair<long long, long long>> list;
    long long position = 0;
    int rc = order(m.raccolta, 0, list);
    if (rc == SQLITE_DONE) rc = positionAt(list, m.position, &position);
    if (rc == SQLITE_DONE) {
        Stmt insert(db_, "INSERT INTO voce(raccolta, position, archive, topic, maxim, citation, opening, text, note) "
                         "VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)");
        insert.bind(1, m.raccolta).bind(2, position).bind(3, m.archive).bind(4, m.topic).bind(5, m.maxim);
        insert.bind(6, m.citation).bind(7, m.opening).bind(8, m.text).bind(9, m.note);
        rc = insert.step();
    }
    if (rc != SQLITE_DONE) {
        r.error = (rc & 0xff) == SQLITE_CONSTRAINT ? RaccolteError{RaccolteFault::NotFound, QString()} : fault(rc);
        rollback();
        return r;
    }
    r.value = sqlite3_last_insert_rowid(db_);
    r.error = commit();
    return r;
}

RaccolteError RaccolteStore::move(long long maxim, int index)
{
    if (RaccolteError e = writeGuard()) return e;
    if (RaccolteError e = begin()) return e;
    auto fail = [this](int rc) {
        const RaccolteError e = fault(rc);
        rollback();
        return e;
    };
    // The order is read inside the transaction, so a change another copy made just before is kept.
    Stmt owner(db_, "SELECT raccolta FROM voce WHERE id = ?");
    owner.bind(1, maxim);
    int rc = owner.step();
    if (rc == SQLITE_DONE) {
        rollback();
        return {RaccolteFault::NotFound, QString()};
    }
    if (rc != SQLITE_ROW) return fail(rc);
    const long long raccolta = owner.integer(0);
    owner.reset();
    std::vector<std::pair<long long, long long>> list;
    long long position = 0;
    if ((rc = order(raccolta, maxim, list)) != SQLITE_DONE) return fail(rc);
    if ((rc = positionAt(list, index, &position)) != SQLITE_DONE) return fail(rc);
    Stmt set(db_, "UPDATE voce SET position = ? WHERE id = ?");
    set.bind(1, position).bind(2, maxim);
    if ((rc = set.step()) != SQLITE_DONE) return fail(rc);
    return commit();
}

RaccolteError RaccolteStore::rememberSearch(const QString& query)
{
    const QString q = query.simplified();
    if (q.isEmpty()) return {};
    if (RaccolteError e = writeGuard()) return e;
    if (RaccolteError e = begin()) return e;
    Stmt upsert(db_, "INSERT INTO recent_search(query, used) VALUES(?, (SELECT coalesce(max(used), 0) + 1 FROM recent_search)) "
                     "ON CONFLICT(query) DO UPDATE SET used = excluded.used");
    upsert.bind(1, q);
    int rc = upsert.step();
    if (rc == SQLITE_DONE) {
        Stmt trim(db_, "DELETE FROM recent_search WHERE query NOT IN (SELECT query FROM recent_search ORDER BY used DESC LIMIT ?)");
        trim.bind(1, RecentLimit);
        rc = trim.step();
    }
    if (rc != SQLITE_DONE) {
        const RaccolteError e = fault(rc);
        rollback();
        return e;
    }
    return commit();
}

// ---------------------------------------------------------------------------------------------------

namespace Raccolte {

QString message(const RaccolteError& error)
{
    switch (error.fault) {
    case RaccolteFault::None: return QString();
    case RaccolteFault::Unavailable:
        return QStringLiteral("Le raccolte non sono disponibili in questa sessione") +
               (error.detail.isEmpty() ? QString() : QStringLiteral(" (") + error.detail + QLatin1Char(')')) + QLatin1Char('.');
    case RaccolteFault::ReadOnly:
        return QStringLiteral("Le raccolte sono state scritte da una versione più recente di Norvelia: si possono consultare "
                              "ma non modificare.");
    case RaccolteFault::Busy:
        return QStringLiteral("Le raccolte sono occupate da un'altra copia di Norvelia: la modifica non è stata fatta. "
                              "Riprovare tra poco.");
    case RaccolteFault::DiskFull:
        return QStringLiteral("Il disco è pieno: la modifica non è stata salvata. Le modifiche precedenti sono al sicuro.");
    case RaccolteFault::NameEmpty: return QStringLiteral("Il nome della raccolta non può essere vuoto.");
    case RaccolteFault::NameTaken: return QStringLiteral("Esiste già una raccolta di nome «%1».").arg(error.detail);
    case RaccolteFault::NotFound: return QStringLiteral("La raccolta o la massima non c'è più: forse è stata tolta da un'altra copia di Norvelia.");
    case RaccolteFault::Failed:
        return QStringLiteral("Errore nelle raccolte: la modifica non è stata salvata (") + error.detail + QStringLiteral(").");
    }
    return QString();
}

QString openMessage(const RaccolteStore::OpenReport& report, const QString& path)
{
    QString text;
    if (!report.setAside.isEmpty())
        text += QStringLiteral("Il file delle raccolte era danneggiato: è stato messo da parte come\n%1\n"
                               "e ne è stato iniziato uno nuovo.")
                    .arg(QDir::toNativeSeparators(report.setAside));
    switch (report.state) {
    case RaccolteStore::State::Unavailable:
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QStringLiteral("Le raccolte non sono disponibili: %1.\nIl resto del programma funziona normalmente.").arg(report.reason);
        break;
    case RaccolteStore::State::ReadOnlyNewer:
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QStringLiteral("Il file delle raccolte %1 è stato scritto da una versione più recente di Norvelia: "
                               "le raccolte si possono consultare ma non modificare.")
                    .arg(QDir::toNativeSeparators(path));
        break;
    default: break;
    }
    return text;
}

} // namespace Raccolte
