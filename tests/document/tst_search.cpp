#include "document/Search.h"

#include <QRandomGenerator>
#include <QTest>

#include <string>

// Search in the document's UTF-8 text: ASCII letters fold when the case does not matter,
// every other byte (Polish letters among them) compares exactly.
class TestSearch : public QObject
{
    Q_OBJECT
private slots:
    void agreesWithAPlainSearchEverywhere();
};

void TestSearch::agreesWithAPlainSearchEverywhere()
{
    // Texts of letters in both cases, Polish letters and markup, searched for pieces of
    // themselves at every length and start, against a character-by-character search.
    const std::string pieces[] = {"a", "A", "k", "K", "_", "<", "\xC4\x85", "\xC4\x84", "z", "Z"};
    const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; };
    QRandomGenerator rng(1250);
    for (int round = 0; round < 400; ++round) {
        std::string text;
        for (int i = int(rng.bounded(120)); i > 0; --i)
            text += pieces[rng.bounded(int(std::size(pieces)))];
        std::string needle = text.substr(rng.bounded(int(text.size()) + 1), rng.bounded(1, 24));
        if (rng.bounded(3) == 0 && !needle.empty())
            needle[rng.bounded(int(needle.size()))] ^= 0x20; // another case, or another byte
        const bool matchCase = rng.bounded(2) == 0;
        for (std::size_t from = 0; from <= text.size(); from += 1 + rng.bounded(7)) {
            std::optional<std::size_t> expected;
            for (std::size_t at = from; !needle.empty() && at + needle.size() <= text.size() && !expected; ++at) {
                bool same = true;
                for (std::size_t i = 0; i < needle.size() && same; ++i)
                    same = matchCase ? text[at + i] == needle[i] : fold(text[at + i]) == fold(needle[i]);
                if (same)
                    expected = at;
            }
            QCOMPARE(Search::find(text, needle, from, matchCase), expected);
        }
    }
}

QTEST_APPLESS_MAIN(TestSearch)
#include "tst_search.moc"
