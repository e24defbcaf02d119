#include "WordForms.h"
#include "TextFold.h"
#include <algorithm>

void WordForms::add(std::string_view word, std::string_view snowball)
{
    if (!snowball.empty()) bySnowball_[std::string(snowball)].emplace_back(word);
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
    for (auto& [stem, words] : bySnowball_) std::sort(words.begin(), words.end());
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
    const auto it = bySnowball_.find(std::string(snowball));
    if (it == bySnowball_.end()) return out;
    for (const std::string& w : it->second)
        if (std::find(keys.begin(), keys.end(), TextFold::inflectionKey(w)) == keys.end()) out.push_back(w);
    return out;
}
