#include "SearchIndex.h"
#include <QElapsedTimer>
#include <QHash>
#include <algorithm>
#include <future>
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
// What the text engine and the statute table receive for a run of maxims, made away from the thread
// that writes the index.
struct Prepared {
    std::vector<std::string> exact, stems;
    std::vector<std::vector<StatuteRef>> statutes;
};

class Preparer {
public:
    void run(const std::vector<MaximEntry>& entries, std::size_t begin, std::size_t end, Prepared& out)
    {
        out.exact.resize(end - begin);
        out.stems.resize(end - begin);
        out.statutes.resize(end - begin);
        for (std::size_t k = 0; k < end - begin; ++k) {
            const MaximEntry& e = entries[begin + k];
            std::string& exact = out.exact[k];
            std::string& stems = out.stems[k];
            exact.clear();
            stems.clear();
            exact.reserve(std::size_t(e.text.size()));
            TextFold::forEachWord(e.text, buffer_, [&](std::string_view w, int, int) {
                if (!exact.empty()) exact += ' ';
                exact += w;
                auto it = vocabulary_.find(w);
                if (it == vocabulary_.end()) {
                    // Queries look up stems only for words that are not function words and not numbers,
                    // and a stem that is the word itself is found in the exact column already.
                    std::string stem;
                    if (!TextFold::isStopword(w) && !(w[0] >= '0' && w[0] <= '9')) stem = stemmer_.stem(w);
                    if (stem == w) stem.clear();
                    it = vocabulary_.emplace(std::string(w), std::move(stem)).first;
                }
                if (it->second.empty()) return;
                if (!stems.empty()) stems += ' ';
                stems += it->second;
            });
            out.statutes[k].clear();
            const int citationAt = Citations::start(e.text);
            for (StatuteMatch& m : Statutes::find(citationAt >= 0 ? QStringView(e.text).first(citationAt) : QStringView(e.text)))
                out.statutes[k].push_back(std::move(m.ref));
        }
    }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };
    Stemmer stemmer_;
    std::string buffer_;
    // Each distinct word is stemmed once: the archives have some 20,000 of them.
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> vocabulary_;
};
} // namespace

void SearchIndex::build()
{
    if (sqlite3_open(":memory:", &db_) != SQLITE_OK) throw std::runtime_error("sqlite: no memory database");
    // The index holds no copy of the texts (they are here already) and is written once.
    exec(db_, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
              "CREATE VIRTUAL TABLE idx USING fts5(exact, stem, tokenize='ascii', content='');"
              "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db_, "INSERT INTO idx(rowid, exact, stem) VALUES(?, ?, ?)", -1, &insert, nullptr);
    QHash<QString, int> placeIds;
    placeOf_.assign(entries_.size(), -1);
    statuteStart_.reserve(entries_.size() + 1);

    // Folding and stemming the texts and writing the index take about as long as each other: a second
    // thread prepares the next run of maxims while this one writes the last.
    constexpr std::size_t Run = 256;
    Preparer preparer;
    Prepared ready, current;
    auto prepare = [&](std::size_t begin) {
        return std::async(std::launch::async, [&, begin] {
            preparer.run(entries_, begin, std::min(entries_.size(), begin + Run), ready);
        });
    };
    std::future<void> next = prepare(0);
    for (std::size_t begin = 0; begin < entries_.size(); begin += Run) {
        next.get();
        std::swap(current, ready);
        if (begin + Run < entries_.size()) next = prepare(begin + Run);
        const std::size_t end = std::min(entries_.size(), begin + Run);
        for (std::size_t id = begin; id < end; ++id) {
            const std::string& exact = current.exact[id - begin];
            const std::string& stems = current.stems[id - begin];
            sqlite3_bind_int64(insert, 1, sqlite3_int64(id) + 1);
            sqlite3_bind_text(insert, 2, exact.data(), int(exact.size()), SQLITE_STATIC);
            sqlite3_bind_text(insert, 3, stems.data(), int(stems.size()), SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);

            const MaximEntry& e = entries_[id];
            if (e.cited && !e.citation.place.isEmpty()) {
                const QString folded = QString::fromStdString(TextFold::foldedText(e.citation.place));
                auto it = placeIds.constFind(folded);
                if (it == placeIds.constEnd()) {
                    it = placeIds.insert(folded, int(places_.size()));
                    places_.push_back(folded);
                }
                placeOf_[id] = it.value();
            }
            statuteStart_.push_back(int(statuteIds_.size()));
            for (StatuteRef& ref : current.statutes[id - begin]) {
                auto [it, added] = statuteByKey_.try_emplace(ref.key, int(statutes_.size()));
                if (added) statutes_.push_back(ref);
                else if (ref.dated && !statutes_[std::size_t(it->second)].dated) statutes_[std::size_t(it->second)] = ref;
                const int sid = it->second;
                if (std::find(statuteIds_.begin() + statuteStart_.back(), statuteIds_.end(), sid) == statuteIds_.end())
                    statuteIds_.push_back(sid);
            }
        }
    }
    statuteStart_.push_back(int(statuteIds_.size()));
    sqlite3_finalize(insert);
    exec(db_, "COMMIT");
    // An exact form weighs four times its stem, so that "distanza" ranks the maxims saying "distanza"
    // above those saying only "distanze".
    sqlite3_prepare_v2(db_, "SELECT rowid, bm25(idx, 4.0, 1.0) FROM idx WHERE idx MATCH ?", -1, &match_, nullptr);
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

SearchIndex::Result SearchIndex::search(const QString& text, const Filters& filters, Sort sort)
{
    QElapsedTimer timer;
    timer.start();
    Result r;
    r.query = QueryTranslator::parse(text, places_, stemmer_);
    const ParsedQuery& q = r.query;
    std::vector<Hit> base;
    if (q.hasWords()) {
        matchInto(QueryTranslator::expression(q), base);
        std::erase_if(base, [&](const Hit& h) { return !passesQuery(h.id, q); });
        if (base.empty() && q.groups.size() > 1) {
            // No maxim holds every word: rank those holding most of them.
            std::vector<Hit> counted(entries_.size());
            std::vector<Hit> one;
            for (const QueryGroup& g : q.groups) {
                std::string e = QueryTranslator::group(g);
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
    switch (sort) {
    case Sort::Relevance:
        std::sort(r.hits.begin(), r.hits.end(), [](const Hit& a, const Hit& b) {
            if (a.matched != b.matched) return a.matched > b.matched;
            if (a.score != b.score) return a.score > b.score;
            return a.id < b.id;
        });
        break;
    case Sort::Newest:
        std::sort(r.hits.begin(), r.hits.end(), [&](const Hit& a, const Hit& b) {
            return dateOf(a) != dateOf(b) ? dateOf(a) > dateOf(b) : a.id < b.id;
        });
        break;
    case Sort::Oldest:
        std::sort(r.hits.begin(), r.hits.end(), [&](const Hit& a, const Hit& b) {
            return dateOf(a) != dateOf(b) ? dateOf(a) < dateOf(b) : a.id < b.id;
        });
        break;
    case Sort::ArchiveOrder:
        std::sort(r.hits.begin(), r.hits.end(), [](const Hit& a, const Hit& b) { return a.id < b.id; });
        break;
    }
    r.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    return r;
}

QString SearchIndex::snippet(int id, const ParsedQuery& q, bool html)
{
    const QString& text = entries_[std::size_t(id)].text;
    // A query has a handful of words: plain lists are faster to look through than sets.
    std::vector<std::string_view> exact, prefixes, stems;
    for (const QueryGroup& g : q.groups) {
        for (const QueryTerm& t : g.alternatives) {
            if (t.prefix) prefixes.push_back(t.words.front());
            else for (const std::string& w : t.words) exact.push_back(w);
            if (!t.stem.empty()) stems.push_back(t.stem);
        }
    }
    struct Place {
        int start, length;
        bool marked;
    };
    std::vector<Place> words;
    words.reserve(128);
    int first = -1;
    std::string buffer;
    TextFold::forEachWord(text, buffer, [&](std::string_view w, int start, int length) {
        bool hit = std::find(exact.begin(), exact.end(), w) != exact.end();
        for (std::size_t k = 0; !hit && k < prefixes.size(); ++k) hit = w.starts_with(prefixes[k]);
        // A stem is the start of the words it stems from: only those are worth stemming.
        for (std::size_t k = 0; !hit && k < stems.size(); ++k)
            hit = w.size() >= stems[k].size() && w.starts_with(stems[k].substr(0, 3)) && stemmer_.stem(w) == stems[k];
        if (hit && first < 0) first = int(words.size());
        words.push_back(Place{start, length, hit});
    });

    constexpr int Width = 230;   // about two lines of the list
    const int citationAt = Citations::start(text);
    const int bodyEnd = citationAt >= 0 ? citationAt : int(text.size());
    int from = 0;
    if (first >= 0 && words[std::size_t(first)].start > 60) {
        // Start at a word some way before the first word found.
        from = words[std::size_t(first)].start - 60;
        for (const Place& w : words) {
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
    const QStringView all(text);
    if (!html) {
        out += all.sliced(from, to - from);
    } else {
        int pos = from;
        for (const Place& w : words) {
            if (w.start < from || w.start + w.length > to || !w.marked) continue;
            out += all.sliced(pos, w.start - pos).toString().toHtmlEscaped();
            out += QStringLiteral("<b>") + all.sliced(w.start, w.length).toString().toHtmlEscaped() + QStringLiteral("</b>");
            pos = w.start + w.length;
        }
        out += all.sliced(pos, to - pos).toString().toHtmlEscaped();
    }
    if (to < bodyEnd) out += QStringLiteral(" …");
    return out;
}
