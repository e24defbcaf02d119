#include "WordForms.h"
#include "TextFold.h"
#include <algorithm>

WordForms::WordForms() : stems_(std::make_unique<Stems>()) {}
WordForms::~WordForms() = default;
WordForms::WordForms(WordForms&&) noexcept = default;
WordForms& WordForms::operator=(WordForms&&) noexcept = default;

void WordForms::add(std::string_view word)
{
    words_.emplace_back(word);
    const TextFold::VerbForm f = TextFold::verbForm(word);
    if (f.stem.empty()) return;
    Verb& v = verbs_[f.stem + f.conjugation];
    v.forms.emplace_back(word);
    if (f.telling) ++v.telling;
    // The infinitive is the one ending no noun or participle shares.
    if (word.ends_with(std::string_view(f.conjugation == 'a' ? "are" : f.conjugation == 'e' ? "ere" : "ire"))) v.infinitive = true;
}

void WordForms::finish()
{
    std::sort(words_.begin(), words_.end());
    std::erase_if(verbs_, [](const auto& v) { return !v.second.infinitive || v.second.telling < 2; });
}

bool WordForms::isVerb(const std::string& stem, char conjugation) const { return verbs_.contains(stem + conjugation); }

std::vector<std::string> WordForms::keys(std::string_view word) const
{
    std::vector<std::string> out{TextFold::inflectionKey(word)};
    auto addKey = [&out](std::string k) {
        if (std::find(out.begin(), out.end(), k) == out.end()) out.push_back(std::move(k));
    };
    // The verb the word is a form of, or whose stem the word is ("revoca" of "revocare": the nouns of
    // the first conjugation's verbs are made that way).
    const TextFold::VerbForm f = TextFold::verbForm(word);
    std::string candidates[2];
    if (!f.stem.empty()) candidates[0] = f.stem + f.conjugation;
    candidates[1] = out.front() + 'a';
    for (const std::string& c : candidates) {
        const auto it = c.empty() ? verbs_.end() : verbs_.find(c);
        if (it == verbs_.end()) continue;
        addKey(c.substr(0, c.size() - 1));
        for (const std::string& form : it->second.forms) addKey(TextFold::inflectionKey(form));
    }
    return out;
}

std::vector<std::string> WordForms::related(std::string_view snowball, const std::vector<std::string>& keys) const
{
    std::vector<std::string> out;
    if (snowball.empty() || !stems_) return out;
    if (snowball.size() < 2) {
        // Only a one-letter word stems to one letter, itself.
        if (std::binary_search(words_.begin(), words_.end(), snowball) &&
            std::find(keys.begin(), keys.end(), TextFold::inflectionKey(snowball)) == keys.end())
            out.emplace_back(snowball);
        return out;
    }
    const std::string begins(snowball.substr(0, 2));
    std::lock_guard<std::mutex> hold(stems_->lock);
    if (stems_->begun.insert(begins).second) {
        for (auto w = std::lower_bound(words_.begin(), words_.end(), begins); w != words_.end() && w->starts_with(begins); ++w)
            stems_->bySnowball[stems_->stemmer.stem(*w)].push_back(*w);
    }
    const auto it = stems_->bySnowball.find(std::string(snowball));
    if (it == stems_->bySnowball.end()) return out;
    for (const std::string& w : it->second)
        if (std::find(keys.begin(), keys.end(), TextFold::inflectionKey(w)) == keys.end()) out.push_back(w);
    return out;
}
