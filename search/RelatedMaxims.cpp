#include "RelatedMaxims.h"
#include "archives/ArchiveDefinition.h"
#include <algorithm>
#include <cmath>
#include <tuple>

namespace {
// Words of a topic's title that name no subject: "Varie" in one archive is not "Varie" in another.
bool namesNoSubject(std::string_view folded) { return folded == "varie" || folded.size() < 4; }

QStringView bodyOf(const QString& text)
{
    const int at = Citations::start(text);
    return at >= 0 ? QStringView(text).first(at) : QStringView(text);
}

bool sameRuling(const MaximEntry& a, const MaximEntry& b)
{
    // A ruling without a number cannot be told from another of the same court and day.
    return a.cited && b.cited && a.citation.number != 0 && a.citation.number == b.citation.number &&
           a.citation.dateKey() == b.citation.dateKey() && a.citation.family == b.citation.family &&
           a.citation.authority == b.citation.authority;
}
} // namespace

RelatedMaxims::RelatedMaxims(SearchIndex& index) : RelatedMaxims(index, Weights()) {}

RelatedMaxims::RelatedMaxims(SearchIndex& index, Weights weights) : index_(index), weights_(weights)
{
    citing_.resize(std::size_t(index_.statuteCount()));
    for (int id = 0; id < index_.size(); ++id)
        for (int sid : index_.statutesOf(id)) citing_[std::size_t(sid)].push_back(id);

    const auto archives = Archives::all();
    for (int a = 0; a < int(archives.size()); ++a) {
        const ArchiveDefinition& def = archives[std::size_t(a)];
        for (int t = 1; t <= def.topicCount; ++t) {
            std::vector<std::string>& stems = subjects_[a * 100 + t];
            TextFold::forEachWord(def.topicTitle(t), buffer_, [&](std::string_view w, int, int) {
                if (TextFold::isStopword(w) || namesNoSubject(w)) return;
                stems.push_back(stemmer_.stem(w));
            });
        }
    }
    scratch_.assign(std::size_t(index_.size()), 0.0);
}

int RelatedMaxims::find(const SearchIndex& index, int archive, int topic, int maxim)
{
    // The entries are in archive order: a binary search over the places.
    int lo = 0, hi = index.size();
    const auto key = std::make_tuple(archive, topic, maxim);
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        const MaximEntry& e = index.entry(mid);
        if (std::make_tuple(e.archive, e.topic, e.maxim) < key) lo = mid + 1;
        else hi = mid;
    }
    if (lo < index.size()) {
        const MaximEntry& e = index.entry(lo);
        if (e.archive == archive && e.topic == topic && e.maxim == maxim) return lo;
    }
    return -1;
}

QString RelatedMaxims::caption(const MaximEntry& e)
{
    return QStringLiteral("Affini a: %1, %2) %3, n. %4")
        .arg(MaximCorpus::archiveTitle(e)).arg(e.topic).arg(MaximCorpus::topicTitle(e)).arg(e.maxim);
}

bool RelatedMaxims::sameWords(QStringView a, QStringView b)
{
    return TextFold::foldedText(a) == TextFold::foldedText(b);
}

bool RelatedMaxims::subjectShared(int archiveA, int topicA, int archiveB, int topicB) const
{
    const auto a = subjects_.find(archiveA * 100 + topicA);
    const auto b = subjects_.find(archiveB * 100 + topicB);
    if (a == subjects_.end() || b == subjects_.end()) return false;
    for (const std::string& s : a->second)
        if (std::find(b->second.begin(), b->second.end(), s) != b->second.end()) return true;
    return false;
}

std::string RelatedMaxims::wordsQuery(int id)
{
    // The maxim's words weighed as a search engine weighs them: how often the maxim says them, times
    // how rare they are in the archives.
    struct Counted {
        std::string word;
        int times = 0;
        double weight = 0;
    };
    std::vector<Counted> words;
    TextFold::forEachWord(bodyOf(index_.entry(id).text), buffer_, [&](std::string_view w, int, int) {
        if (w.size() < 4 || TextFold::isStopword(w) || (w[0] >= '0' && w[0] <= '9')) return;
        auto it = std::find_if(words.begin(), words.end(), [&](const Counted& c) { return c.word == w; });
        if (it == words.end()) words.push_back(Counted{std::string(w), 1, 0});
        else ++it->times;
    });
    const double n = index_.size();
    for (Counted& c : words) {
        auto it = frequency_.find(c.word);
        if (it == frequency_.end()) it = frequency_.emplace(c.word, index_.wordFrequency(c.word)).first;
        c.weight = double(c.times) * std::log(n / double(std::max(1, it->second)));
    }
    // The words of a good part of the archives say little of what a maxim is about and bring the text
    // engine most of its rows; a maxim made of them alone keeps them.
    auto common = [&](const Counted& c) { return frequency_[c.word] > weights_.commonShare * n; };
    if (!std::all_of(words.begin(), words.end(), common)) std::erase_if(words, common);
    const std::size_t kept = std::min<std::size_t>(words.size(), std::size_t(weights_.distinctiveWords));
    std::partial_sort(words.begin(), words.begin() + std::ptrdiff_t(kept), words.end(),
                      [](const Counted& a, const Counted& b) { return a.weight != b.weight ? a.weight > b.weight : a.word < b.word; });
    // Exact forms only: a maxim on the same question repeats the distinctive words as they stand, and
    // their stems would bring the text engine several times the rows to score for no better ranking.
    std::vector<QueryTerm> terms;
    for (std::size_t k = 0; k < kept; ++k) {
        QueryTerm t;
        t.words.push_back(words[k].word);
        t.quoted = true;
        terms.push_back(std::move(t));
    }
    return QueryTranslator::anyOf(terms);
}

std::vector<RelatedMaxim> RelatedMaxims::of(int id, int limit)
{
    std::vector<RelatedMaxim> out;
    if (id < 0 || id >= index_.size() || limit <= 0) return out;
    const MaximEntry& self = index_.entry(id);

    // Every maxim some signal speaks for, with what each signal said.
    std::vector<RelatedMaxim> candidates;
    std::vector<int> slot;   // candidate of an entry, through scratch_ (reset before returning)
    auto candidate = [&](int other) -> RelatedMaxim& {
        double& s = scratch_[std::size_t(other)];
        if (s == 0) {
            candidates.push_back(RelatedMaxim{});
            candidates.back().id = other;
            slot.push_back(other);
            s = double(candidates.size());
        }
        return candidates[std::size_t(s) - 1];
    };

    if (self.cited && self.citation.number != 0) {
        for (int other = 0; other < index_.size(); ++other)
            if (other != id && sameRuling(self, index_.entry(other))) candidate(other).sameRuling = true;
    }

    const double n = index_.size();
    std::vector<int> own = index_.statutesOf(id);
    // Rarest first, so that the reason names the statute that says most.
    std::sort(own.begin(), own.end(), [&](int a, int b) {
        return citing_[std::size_t(a)].size() != citing_[std::size_t(b)].size() ? citing_[std::size_t(a)].size() < citing_[std::size_t(b)].size() : a < b;
    });
    for (std::size_t k = 0; k < own.size(); ++k) {
        const std::vector<int>& citing = citing_[std::size_t(own[k])];
        for (int other : citing)
            if (other != id) candidate(other).statutes.push_back(own[k]);
    }

    const std::string expression = wordsQuery(id);
    if (!expression.empty()) {
        const std::vector<SearchIndex::Hit> hits = index_.match(expression);
        double top = 0;
        for (const SearchIndex::Hit& h : hits)
            if (h.id == id) top = h.score;
        if (top <= 0)
            for (const SearchIndex::Hit& h : hits) top = std::max(top, h.score);
        if (top > 0)
            for (const SearchIndex::Hit& h : hits)
                if (h.id != id) candidate(h.id).words = std::min(1.0, h.score / top);
    }
    for (int other : slot) scratch_[std::size_t(other)] = 0;

    for (RelatedMaxim& c : candidates) {
        const MaximEntry& e = index_.entry(c.id);
        c.sameTopic = e.archive == self.archive && e.topic == self.topic;
        c.sameSubject = e.archive != self.archive && subjectShared(self.archive, self.topic, e.archive, e.topic);
        double statutes = 0;
        for (int sid : c.statutes) statutes += std::log(n / double(citing_[std::size_t(sid)].size()));
        c.score = (c.sameRuling ? weights_.sameRuling : 0) + weights_.statute * statutes + weights_.words * c.words +
                  (c.sameTopic ? weights_.sameTopic : 0) + (c.sameSubject ? weights_.sameSubject : 0);
    }
    auto better = [](const RelatedMaxim& a, const RelatedMaxim& b) { return a.score != b.score ? a.score > b.score : a.id < b.id; };

    // The best first; a restatement word for word is passed over, so more may have to be put in order
    // than are shown.
    const QStringView ownBody = bodyOf(self.text);
    std::string ownFolded;
    std::size_t sorted = 0;
    for (std::size_t k = 0; k < candidates.size() && int(out.size()) < limit; ++k) {
        if (k == sorted) {
            const std::size_t more = std::min(candidates.size(), sorted + std::size_t(limit) * 2 + 16);
            std::partial_sort(candidates.begin() + std::ptrdiff_t(sorted), candidates.begin() + std::ptrdiff_t(more),
                              candidates.end(), better);
            sorted = more;
        }
        RelatedMaxim& c = candidates[k];
        const QStringView body = bodyOf(index_.entry(c.id).text);
        // Only texts of about the same length can be the same words.
        if (std::abs(body.size() - ownBody.size()) * 20 <= ownBody.size()) {
            if (ownFolded.empty()) ownFolded = TextFold::foldedText(ownBody);
            if (TextFold::foldedText(body) == ownFolded) continue;
        }
        out.push_back(std::move(c));
    }
    return out;
}

QString RelatedMaxims::reason(const RelatedMaxim& r) const
{
    if (r.sameRuling) return QStringLiteral("stessa sentenza");
    if (!r.statutes.empty()) {
        QString s = index_.statute(r.statutes.front()).label;
        if (r.statutes.size() > 1) s += QStringLiteral("; ") + index_.statute(r.statutes[1]).label;
        return s;
    }
    return QStringLiteral("stesso tema");
}
