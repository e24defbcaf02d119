#include "SearchIndex.h"
#include "Thesaurus.h"
#include <QElapsedTimer>
#include <QHash>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <exception>
#include <thread>
#include <sqlite3.h>
#include <stdexcept>

namespace {
std::unique_ptr<SearchIndex>& sharedSlot()
{
    static std::unique_ptr<SearchIndex> s;
    return s;
}

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string what = error ? error : "sqlite";
        sqlite3_free(error);
        throw std::runtime_error(what);
    }
}

} // namespace

SearchIndex& SearchIndex::shared()
{
    auto& s = sharedSlot();
    if (!s) s = std::make_unique<SearchIndex>(MaximCorpus::load());
    return *s;
}

void SearchIndex::resetShared() { sharedSlot().reset(); }

SearchIndex::SearchIndex(std::vector<MaximEntry> entries) : entries_(std::move(entries)) { build(); }

SearchIndex::~SearchIndex()
{
    sqlite3_finalize(match_);
    sqlite3_finalize(frequency_);
    sqlite3_close(db_);
}

namespace {
// What the text engine, the statute table and the list of places receive for one maxim, made away from
// the thread that writes the index.
struct Prepared {
    std::string exact, stems, statuteKeys;
    std::vector<StatuteRef> statutes;
    QString place;   // folded; empty when the maxim names none
};

class Preparer {
public:
    explicit Preparer(WordForms& forms) : forms_(forms) {}

    void prepare(const MaximEntry& e, Prepared& out)
    {
        std::string& exact = out.exact;
        std::string& stems = out.stems;
        exact.clear();
        stems.clear();
        exact.reserve(std::size_t(e.text.size()));
        TextFold::forEachWord(e.text, buffer_, [&](std::string_view w, int, int) {
            if (!exact.empty()) exact += ' ';
            exact += w;
            auto it = vocabulary_.find(w);
            if (it == vocabulary_.end()) {
                // Queries look up inflection keys only for words that are not function words and not
                // numbers; only those words have forms.
                std::string key;
                if (!TextFold::isStopword(w) && !(w[0] >= '0' && w[0] <= '9')) {
                    key = TextFold::inflectionKey(w);
                    forms_.add(w);
                }
                it = vocabulary_.emplace(std::string(w), std::move(key)).first;
            }
            if (it->second.empty()) return;
            if (!stems.empty()) stems += ' ';
            stems += it->second;
        });
        out.statutes.clear();
        out.statuteKeys.clear();
        const int citationAt = Citations::start(e.text);
        for (StatuteMatch& m : Statutes::find(citationAt >= 0 ? QStringView(e.text).first(citationAt) : QStringView(e.text))) {
            if (!out.statuteKeys.empty()) out.statuteKeys += ' ';
            out.statuteKeys += QueryTranslator::statuteToken(m.ref.key);
            out.statutes.push_back(std::move(m.ref));
        }
        out.place = e.cited && !e.citation.place.isEmpty() ? QString::fromStdString(TextFold::foldedText(e.citation.place)) : QString();
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    WordForms& forms_;
    std::string buffer_;
    // Each distinct word is keyed once (the archives have some 12,000 of them): its inflection key, empty
    // for function words and numbers.
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> vocabulary_;
};

// Folding the texts and writing the index take about as long as each other, so a second thread folds
// the maxims a little ahead of the one writing them, in a ring of slots: the writer waits only when it
// catches up, the folder only when it is a whole ring ahead, and the memory stays that of the ring
// whatever the number of maxims. Each side reads the other's progress without a lock and wakes it only
// a batch at a time: a wake-up is a system call, and one per maxim cost more than the folding.
class Pipeline {
public:
    static constexpr std::size_t Ring = 256, Batch = 64, WriterBatch = 8;

    Pipeline(const std::vector<MaximEntry>& entries, WordForms& forms)
        : entries_(entries), forms_(forms), slots_(std::min(entries.size(), Ring)), worker_([this] { work(); })
    {
    }
    ~Pipeline()
    {
        if (!worker_.joinable()) return;
        // The writer stopping early (an exception) must not leave the folder waiting for room.
        stop_.store(true);
        wake(room_);
        worker_.join();
    }

    // The maxim's prepared slot, once it is ready; done() hands the slot back.
    Prepared& next(std::size_t id)
    {
        if (made_.load(std::memory_order_acquire) <= id) {
            std::unique_lock<std::mutex> hold(lock_);
            ready_.wait(hold, [&] { return made_.load(std::memory_order_acquire) > id || failure_; });
            if (made_.load(std::memory_order_acquire) <= id) std::rethrow_exception(failure_);
        }
        return slots_[id % Ring];
    }
    void done(std::size_t id)
    {
        used_.store(id + 1, std::memory_order_release);
        if ((id + 1) % Batch == 0) wake(room_);
    }
    // After the last maxim: the word forms, which the folder finishes while the index is committed.
    void finish()
    {
        worker_.join();
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    // Taking the lock between the change and the wake-up: a side that found nothing changed, under the
    // lock, is then surely waiting.
    void wake(std::condition_variable& c)
    {
        { std::lock_guard<std::mutex> hold(lock_); }
        c.notify_one();
    }

    void work()
    {
        try {
            Preparer preparer(forms_);
            for (std::size_t id = 0; id < entries_.size(); ++id) {
                if (id >= used_.load(std::memory_order_acquire) + Ring) {
                    std::unique_lock<std::mutex> hold(lock_);
                    room_.wait(hold, [&] { return id < used_.load(std::memory_order_acquire) + Ring || stop_.load(); });
                }
                if (stop_.load()) return;
                preparer.prepare(entries_[id], slots_[id % Ring]);
                made_.store(id + 1, std::memory_order_release);
                if ((id + 1) % WriterBatch == 0 || id + 1 == entries_.size()) wake(ready_);
            }
            forms_.finish();
        } catch (...) {
            std::lock_guard<std::mutex> hold(lock_);
            failure_ = std::current_exception();
            ready_.notify_one();
        }
    }

    const std::vector<MaximEntry>& entries_;
    WordForms& forms_;
    std::vector<Prepared> slots_;
    std::atomic<std::size_t> made_{0}, used_{0};
    std::atomic<bool> stop_{false};
    std::mutex lock_;
    std::condition_variable ready_, room_;
    std::exception_ptr failure_;   // under the lock
    std::thread worker_;           // last: it starts once the rest is in place
};
} // namespace

void SearchIndex::build()
{
    if (sqlite3_open(":memory:", &db_) != SQLITE_OK) throw std::runtime_error("sqlite: no memory database");
    // The index holds no copy of the texts (they are here already) and is written once.
    exec(db_, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
    exec(db_, TableSql);
    exec(db_, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db_, "INSERT INTO idx(rowid, exact, forma, norme) VALUES(?, ?, ?, ?)", -1, &insert, nullptr);
    QHash<QString, int> placeIds;
    placeOf_.assign(entries_.size(), -1);
    statuteStart_.reserve(entries_.size() + 1);

    Pipeline pipeline(entries_, forms_);
    for (std::size_t id = 0; id < entries_.size(); ++id) {
        Prepared& p = pipeline.next(id);
        sqlite3_bind_int64(insert, 1, sqlite3_int64(id) + 1);
        sqlite3_bind_text(insert, 2, p.exact.data(), int(p.exact.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, p.stems.data(), int(p.stems.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, p.statuteKeys.data(), int(p.statuteKeys.size()), SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);

        if (!p.place.isEmpty()) {
            auto it = placeIds.constFind(p.place);
            if (it == placeIds.constEnd()) {
                it = placeIds.insert(p.place, int(places_.size()));
                places_.push_back(p.place);
            }
            placeOf_[id] = it.value();
        }
        statuteStart_.push_back(int(statuteIds_.size()));
        for (StatuteRef& ref : p.statutes) {
            auto [it, added] = statuteByKey_.try_emplace(ref.key, int(statutes_.size()));
            if (added) statutes_.push_back(ref);
            else if (ref.dated && !statutes_[std::size_t(it->second)].dated) statutes_[std::size_t(it->second)] = ref;
            const int sid = it->second;
            if (std::find(statuteIds_.begin() + statuteStart_.back(), statuteIds_.end(), sid) == statuteIds_.end())
                statuteIds_.push_back(sid);
        }
        pipeline.done(id);
    }
    statuteStart_.push_back(int(statuteIds_.size()));
    sqlite3_finalize(insert);
    exec(db_, "COMMIT");
    pipeline.finish();
    // An exact form weighs four times its inflection key, so that "distanza" ranks the maxims saying
    // "distanza" above those saying only "distanze".
    sqlite3_prepare_v2(db_, "SELECT rowid, bm25(idx, 4.0, 1.0, 1.0) FROM idx WHERE idx MATCH ?", -1, &match_, nullptr);
}

std::vector<int> SearchIndex::statutesOf(int id) const
{
    return std::vector<int>(statuteIds_.begin() + statuteStart_[std::size_t(id)],
                            statuteIds_.begin() + statuteStart_[std::size_t(id) + 1]);
}

std::vector<SearchIndex::Hit> SearchIndex::match(const std::string& expression)
{
    std::vector<Hit> out;
    matchInto(expression, out);
    return out;
}

int SearchIndex::wordFrequency(const std::string& folded)
{
    // The index's own vocabulary, read only for the words asked about.
    if (!frequency_) {
        exec(db_, "CREATE VIRTUAL TABLE IF NOT EXISTS temp.words USING fts5vocab(main, idx, 'col')");
        sqlite3_prepare_v2(db_, "SELECT doc FROM temp.words WHERE term = ? AND col = 'exact'", -1, &frequency_, nullptr);
    }
    sqlite3_bind_text(frequency_, 1, folded.data(), int(folded.size()), SQLITE_STATIC);
    const int n = sqlite3_step(frequency_) == SQLITE_ROW ? sqlite3_column_int(frequency_, 0) : 0;
    sqlite3_reset(frequency_);
    return n;
}

long long SearchIndex::sqliteMemory() { return sqlite3_memory_used(); }

void SearchIndex::matchInto(const std::string& expression, std::vector<Hit>& out)
{
    sqlite3_bind_text(match_, 1, expression.data(), int(expression.size()), SQLITE_STATIC);
    while (sqlite3_step(match_) == SQLITE_ROW) {
        // BM25 is negative, and the more negative the better.
        out.push_back(Hit{int(sqlite3_column_int64(match_, 0)) - 1, -sqlite3_column_double(match_, 1), 0});
    }
    sqlite3_reset(match_);
    sqlite3_clear_bindings(match_);
}

int SearchIndex::bareMatch(const std::string& expression)
{
    int rows = 0;
    sqlite3_bind_text(match_, 1, expression.data(), int(expression.size()), SQLITE_STATIC);
    while (sqlite3_step(match_) == SQLITE_ROW) {
        sqlite3_column_double(match_, 1);   // the scores are computed, as a search reads them
        ++rows;
    }
    sqlite3_reset(match_);
    return rows;
}

bool SearchIndex::passesQuery(int id, const ParsedQuery& q) const
{
    const MaximEntry& e = entries_[std::size_t(id)];
    if (!q.citation.empty()) {
        if (!e.cited) return false;
        const int p = placeOf_[std::size_t(id)];
        if (!q.citation.accepts(e.citation, p >= 0 ? places_[std::size_t(p)] : QString())) return false;
    }
    for (const StatuteRef& s : q.statutes) {
        const auto it = statuteByKey_.find(s.key);
        if (it == statuteByKey_.end()) return false;
        const auto begin = statuteIds_.begin() + statuteStart_[std::size_t(id)];
        const auto end = statuteIds_.begin() + statuteStart_[std::size_t(id) + 1];
        if (std::find(begin, end, it->second) == end) return false;
    }
    return true;
}

SearchIndex::Result SearchIndex::search(const QString& text) { return search(text, Filters(), Sort::Relevance); }

int SearchIndex::Result::found() const
{
    return int(std::count_if(hits.begin(), hits.end(), [](const Hit& h) { return h.tier != Related; }));
}

void SearchIndex::resolve(ParsedQuery& q) const
{
    auto fill = [this](QueryTerm& t, bool related) {
        if (t.quoted || t.prefix || !t.statute.empty() || t.words.size() != 1 || t.forms.empty()) return;
        t.forms = forms_.keys(t.words.front());
        if (related && !t.stem.empty()) t.related = forms_.related(t.stem, t.forms);
    };
    for (QueryGroup& g : q.groups)
        for (QueryTerm& t : g.alternatives) fill(t, !t.thesaurus);   // the thesaurus's words stand as written
    for (QueryTerm& t : q.excluded) fill(t, false);
}

SearchIndex::Result SearchIndex::search(const QString& text, const Filters& filters, Sort sort)
{
    QElapsedTimer timer;
    timer.start();
    Result r;
    r.query = QueryTranslator::parse(text, places_, stemmer_, filters.thesaurus ? &Thesaurus::shared() : nullptr);
    resolve(r.query);
    const ParsedQuery& q = r.query;
    std::vector<Hit> base;
    if (q.hasWords()) {
        using QueryTranslator::Reach;
        matchInto(QueryTranslator::expression(q, Reach::Thesaurus), base);
        std::erase_if(base, [&](const Hit& h) { return !passesQuery(h.id, q); });
        std::vector<char> seen;
        auto mark = [&](const std::vector<Hit>& hits) {
            seen.assign(entries_.size(), 0);
            for (const Hit& h : hits) seen[std::size_t(h.id)] = 1;
        };
        if (q.expanded() && !base.empty()) {
            // Maxims found by the typed words rank above those only the thesaurus's terms found.
            std::vector<Hit> typed;
            matchInto(QueryTranslator::expression(q, Reach::Typed), typed);
            mark(typed);
            for (Hit& h : base)
                if (!seen[std::size_t(h.id)]) h.tier = Thesaurus;
        }
        if (q.hasRelated()) {
            // Then, apart, the maxims that hold only related forms of a word.
            std::vector<Hit> wide;
            matchInto(QueryTranslator::expression(q, Reach::Related), wide);
            mark(base);
            for (Hit& h : wide) {
                if (seen[std::size_t(h.id)] || !passesQuery(h.id, q)) continue;
                h.tier = Related;
                base.push_back(h);
            }
        }
        if (base.empty() && q.groups.size() > 1) {
            // No maxim holds every word: rank those holding most of them.
            std::vector<Hit> counted(entries_.size());
            std::vector<Hit> one;
            for (const QueryGroup& g : q.groups) {
                std::string e = QueryTranslator::group(g, Reach::Thesaurus);
                if (!q.excluded.empty()) e = "(" + e + ") NOT (" + QueryTranslator::anyOf(q.excluded) + ")";
                one.clear();
                matchInto(e, one);
                for (const Hit& h : one) {
                    Hit& c = counted[std::size_t(h.id)];
                    c.id = h.id;
                    c.score += h.score;
                    ++c.matched;
                }
            }
            for (const Hit& c : counted)
                if (c.matched > 0 && passesQuery(c.id, q)) base.push_back(c);
            r.partial = !base.empty();
        }
    } else if (!q.citation.empty() || !q.statutes.empty()) {
        std::vector<Hit> excluded;
        if (!q.excluded.empty()) matchInto(QueryTranslator::anyOf(q.excluded), excluded);
        std::vector<char> out(entries_.size(), 0);
        for (const Hit& h : excluded) out[std::size_t(h.id)] = 1;
        for (int id = 0; id < int(entries_.size()); ++id)
            if (!out[std::size_t(id)] && passesQuery(id, q)) base.push_back(Hit{id, 0, 0});
    }

    // The counts beside the list: each filter counted with the others in force.
    Facets& f = r.facets;
    f.total = int(base.size());
    auto yearOf = [this](int id) { return entries_[std::size_t(id)].citation.year; };
    auto familyOf = [this](int id) { return entries_[std::size_t(id)].cited ? int(entries_[std::size_t(id)].citation.family) : -1; };
    auto hasStatute = [this](int id, int sid) {
        const auto begin = statuteIds_.begin() + statuteStart_[std::size_t(id)];
        const auto end = statuteIds_.begin() + statuteStart_[std::size_t(id) + 1];
        return std::find(begin, end, sid) != end;
    };
    std::vector<int> statuteCounts(statutes_.size(), 0);
    f.yearMin = 9999;
    f.yearMax = 0;
    for (const Hit& h : base) {
        const MaximEntry& e = entries_[std::size_t(h.id)];
        const bool archiveOk = filters.archive < 0 || e.archive == filters.archive;
        const bool authorityOk = !filters.authority || familyOf(h.id) == int(*filters.authority);
        const int y = yearOf(h.id);
        const bool yearOk = (!filters.yearFrom || y >= filters.yearFrom) && (!filters.yearTo || y <= filters.yearTo);
        const bool statuteOk = filters.statute < 0 || hasStatute(h.id, filters.statute);
        if (authorityOk && yearOk && statuteOk) ++f.archives[std::size_t(e.archive)];
        if (archiveOk && yearOk && statuteOk && familyOf(h.id) >= 0) ++f.authorities[std::size_t(familyOf(h.id))];
        if (archiveOk && authorityOk && statuteOk && e.cited) {
            f.yearMin = std::min(f.yearMin, y);
            f.yearMax = std::max(f.yearMax, y);
        }
        if (archiveOk && authorityOk && yearOk) {
            for (int k = statuteStart_[std::size_t(h.id)]; k < statuteStart_[std::size_t(h.id) + 1]; ++k)
                ++statuteCounts[std::size_t(statuteIds_[std::size_t(k)])];
        }
        if (archiveOk && authorityOk && yearOk && statuteOk) r.hits.push_back(h);
    }
    if (f.yearMax == 0) f.yearMin = 0;
    for (int sid = 0; sid < int(statuteCounts.size()); ++sid)
        if (statuteCounts[std::size_t(sid)] > 0) f.statutes.emplace_back(sid, statuteCounts[std::size_t(sid)]);
    std::sort(f.statutes.begin(), f.statutes.end(), [this](const auto& a, const auto& b) {
        if (a.second != b.second) return a.second > b.second;
        return statutes_[std::size_t(a.first)].label < statutes_[std::size_t(b.first)].label;
    });

    auto dateOf = [this](const Hit& h) { return entries_[std::size_t(h.id)].citation.dateKey(); };
    // A search with no words to rank by (a statute, a citation) lists the newest rulings first.
    if (sort == Sort::Relevance && !q.hasWords()) sort = Sort::Newest;
    // In every order the related forms come after the maxims that hold every word, as a group of their own.
    auto apart = [](const Hit& a, const Hit& b) { return (a.tier == Related) != (b.tier == Related); };
    switch (sort) {
    case Sort::Relevance:
        std::sort(r.hits.begin(), r.hits.end(), [](const Hit& a, const Hit& b) {
            if (a.matched != b.matched) return a.matched > b.matched;
            if (a.tier != b.tier) return a.tier < b.tier;
            if (a.score != b.score) return a.score > b.score;
            return a.id < b.id;
        });
        break;
    case Sort::Newest:
        std::sort(r.hits.begin(), r.hits.end(), [&](const Hit& a, const Hit& b) {
            if (apart(a, b)) return a.tier < b.tier;
            return dateOf(a) != dateOf(b) ? dateOf(a) > dateOf(b) : a.id < b.id;
        });
        break;
    case Sort::Oldest:
        std::sort(r.hits.begin(), r.hits.end(), [&](const Hit& a, const Hit& b) {
            if (apart(a, b)) return a.tier < b.tier;
            return dateOf(a) != dateOf(b) ? dateOf(a) < dateOf(b) : a.id < b.id;
        });
        break;
    case Sort::ArchiveOrder:
        std::sort(r.hits.begin(), r.hits.end(), [&](const Hit& a, const Hit& b) {
            if (apart(a, b)) return a.tier < b.tier;
            return a.id < b.id;
        });
        break;
    }
    r.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    return r;
}

std::vector<SearchIndex::WordMark> SearchIndex::markWords(const QString& text, const ParsedQuery& q, int* statuteAt)
{
    // A query has a handful of words: plain lists are faster to look through than sets.
    std::vector<std::string_view> exact, prefixes, keys;
    std::vector<std::string> statuteKeys;
    for (const StatuteRef& s : q.statutes) statuteKeys.push_back(s.key);
    for (const QueryGroup& g : q.groups) {
        for (const QueryTerm& t : g.alternatives) {
            if (!t.statute.empty()) statuteKeys.push_back(t.statute);
            else if (t.prefix) prefixes.push_back(t.words.front());
            else for (const std::string& w : t.words) exact.push_back(w);
            for (const std::string& k : t.forms) keys.push_back(k);
            for (const std::string& w : t.related) exact.push_back(w);
        }
    }
    std::vector<WordMark> words;
    words.reserve(128);
    std::string buffer;
    const int citationAt = Citations::start(text);
    const int bodyEnd = citationAt >= 0 ? citationAt : int(text.size());
    // A statute searched for is shown where the maxim cites it, the citation in bold.
    std::vector<WordMark> cited;
    if (!statuteKeys.empty()) {
        for (const StatuteMatch& m : Statutes::find(QStringView(text).first(bodyEnd)))
            if (std::find(statuteKeys.begin(), statuteKeys.end(), m.ref.key) != statuteKeys.end() &&
                (cited.empty() || cited.back().start != m.start))
                cited.push_back(WordMark{m.start, m.end - m.start, true});
    }
    TextFold::forEachWord(text, buffer, [&](std::string_view w, int start, int length) {
        bool hit = std::find(exact.begin(), exact.end(), w) != exact.end();
        for (std::size_t k = 0; !hit && k < prefixes.size(); ++k) hit = w.starts_with(prefixes[k]);
        // A key is the start of the words it is the key of: only those are worth reading.
        for (std::size_t k = 0; !hit && k < keys.size(); ++k)
            hit = w.size() >= keys[k].size() && w.starts_with(keys[k].substr(0, 3)) && TextFold::inflectionKey(w) == keys[k];
        for (const WordMark& c : cited) hit = hit && !(start >= c.start && start < c.start + c.length);
        words.push_back(WordMark{start, length, hit});
    });
    if (statuteAt) *statuteAt = cited.empty() ? -1 : cited.front().start;
    // The statutes' spans join the words marked, in the order of the text.
    for (const WordMark& c : cited) words.push_back(c);
    std::stable_sort(words.begin(), words.end(), [](const WordMark& x, const WordMark& y) { return x.start < y.start; });
    return words;
}

void SearchIndex::appendMarked(QString& out, const QString& text, const std::vector<WordMark>& words, int from, int to)
{
    const QStringView all(text);
    int pos = from;
    for (const WordMark& w : words) {
        if (w.start < pos || w.start + w.length > to || !w.marked) continue;
        out += all.sliced(pos, w.start - pos).toString().toHtmlEscaped();
        out += QStringLiteral("<b>") + all.sliced(w.start, w.length).toString().toHtmlEscaped() + QStringLiteral("</b>");
        pos = w.start + w.length;
    }
    out += all.sliced(pos, to - pos).toString().toHtmlEscaped();
}

QString SearchIndex::snippet(int id, const ParsedQuery& q, bool html)
{
    const QString& text = entries_[std::size_t(id)].text;
    int statuteAt = -1;
    const std::vector<WordMark> words = markWords(text, q, &statuteAt);
    const auto firstMarked = std::find_if(words.begin(), words.end(), [](const WordMark& w) { return w.marked; });
    // The statute searched for is what the excerpt shows first, even when words come before it.
    const int firstAt = statuteAt >= 0 ? statuteAt : firstMarked == words.end() ? -1 : firstMarked->start;
    const int citationAt = Citations::start(text);
    const int bodyEnd = citationAt >= 0 ? citationAt : int(text.size());

    constexpr int Width = 230;   // about two lines of the list
    int from = 0;
    if (firstAt > 60) {
        // Start at a word some way before the first word found.
        from = firstAt - 60;
        for (const WordMark& w : words) {
            if (w.start >= from) {
                from = w.start;
                break;
            }
        }
    }
    int to = std::min(bodyEnd, from + Width);
    if (to < bodyEnd) {
        for (auto it = words.rbegin(); it != words.rend(); ++it) {
            if (it->start + it->length <= to) {
                to = it->start + it->length;
                break;
            }
        }
    }
    QString out;
    out.reserve(Width + 64);
    if (from > 0) out += QStringLiteral("… ");
    if (!html) out += QStringView(text).sliced(from, to - from);
    else appendMarked(out, text, words, from, to);
    if (to < bodyEnd) out += QStringLiteral(" …");
    return out;
}

QString SearchIndex::highlighted(int id, const ParsedQuery& q)
{
    const QString& text = entries_[std::size_t(id)].text;
    const int citationAt = Citations::start(text);
    QString out;
    out.reserve(text.size() + 64);
    appendMarked(out, text, markWords(text, q), 0, citationAt >= 0 ? citationAt : int(text.size()));
    return out;
}
