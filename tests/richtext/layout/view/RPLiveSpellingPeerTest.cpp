// Live spelling with a real spelling checker: hunspell with its English and Russian
// dictionaries answers OnSpellingCheck, its Greek and German ones OnSpellingCheckW. A document whose misspelled words
// are known gets exactly those words marked, also when it is edited through its own operations while the walk runs.
// scripts/tsan-live-spelling.sh builds these tests with ThreadSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RPThreadTestData.h"
#include "platform/base/CodePages.h"
#include "platform/base/Utf8.h"

#if QF_HAVE_HUNSPELL
#include <iconv.h>
#include <hunspell.hxx>
#endif

namespace {

const char* const DictionaryFolder = "/usr/share/hunspell/";

// The sentences of the documents, misspelled words starred, and their text styles.
struct TSentence {
  std::u16string Starred;
  int32_t StyleNo;
};
const TSentence Sentences[] = {
    {u"The quick brown fox *jumpd* over the *lazzy* dog.", PlainStyle},
    {u"Spelling is checked while you *tpye*, word by word.", PlainStyle},
    {u"Don't stop at 'quoted' words or *recieve* errors.", PlainStyle},
    {u"Быстрая коричневая лиса *прыгаит* через ленивую собаку.", RussianStyle},
    {u"Проверка орфографии работает *правельно* и быстро.", RussianStyle},
    {u"www.exampel.com", LinkStyle},
};
constexpr int32_t SentenceCount = static_cast<int32_t>(sizeof Sentences / sizeof Sentences[0]);

#if QF_HAVE_HUNSPELL

// Greek and German text in a Unicode style, for the UTF-16 form of the question.
const TSentence UnicodeSentences[] = {
    {u"Η γάτα κοιμάται στο *σπίττι*.", RussianStyle},
    {u"Die Straße ist schön und *grüün*, über den Flüssen.", RussianStyle},
};

// The dictionaries of some languages; a word is misspelled when none knows it.
class THunspellChecker {
public:
  explicit THunspellChecker(std::initializer_list<const char*> languages = {"en_US", "ru_RU"}) {
    for (const char* language : languages) {
      const std::string base = std::string(DictionaryFolder) + language;
      if (!std::filesystem::exists(base + ".aff") || !std::filesystem::exists(base + ".dic")) {
        Missing += base + ".aff/.dic ";
        continue;
      }
      FDictionaries.push_back(std::make_unique<Hunspell>((base + ".aff").c_str(), (base + ".dic").c_str()));
    }
  }
  // word: 8-bit text in code page 1251 (the code page of both the plain and the Russian
  // styles); the dictionaries take UTF-8.
  bool Misspelled(const AnsiString& word) const { return Misspelled(AnsiToWide(word, 1251)); }
  bool Misspelled(const WideString& word) const {
    std::string utf8;
    for (const WideChar ch : word) AppendUtf8(utf8, ch);
    for (const auto& dictionary : FDictionaries)
      if (dictionary->spell(InDictionaryEncoding(*dictionary, utf8))) return false;
    return true;
  }
  // A dictionary takes words in its own encoding (the Greek one in ISO 8859-7).
  static std::string InDictionaryEncoding(Hunspell& dictionary, const std::string& utf8) {
    const std::string encoding = dictionary.get_dict_encoding();
    if (encoding == "UTF-8") return utf8;
    const iconv_t converter = iconv_open(encoding.c_str(), "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) return utf8;
    std::string out(utf8.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    char* to = out.data();
    size_t inLeft = utf8.size(), outLeft = out.size();
    const size_t done = iconv(converter, &in, &inLeft, &to, &outLeft);
    iconv_close(converter);
    if (done == static_cast<size_t>(-1)) return utf8;
    out.resize(out.size() - outLeft);
    return out;
  }
  std::string Missing;

private:
  std::vector<std::unique_ptr<Hunspell>> FDictionaries;
};

struct THunspellView : TSpellingView {
  THunspellView() {
    Pane.OnSpellingCheck = [this](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
      misspelled = Checker.Misspelled(word);
    };
  }
  // Adds sentence n at the end, or in place of item itemNo.
  void Add(int32_t n) { Add(Sentences[n]); }
  void Add(const TSentence& sentence) {
    const TStarredText text = Unstar(sentence.Starred);
    Data().AddTextW(text.Text, sentence.StyleNo, TRPTag(), 0);
    Texts.push_back(text);
  }
  void Replace(int32_t itemNo, int32_t n) {
    const TStarredText text = Unstar(Sentences[n].Starred);
    ASSERT_EQ(Data().GetItemStyle(itemNo), Sentences[n].StyleNo);
    Data().SetItemTextW(itemNo, text.Text);
    Texts[static_cast<size_t>(itemNo)] = text;
  }
  void Delete(int32_t itemNo, int32_t count) {
    Data().DeleteItems(itemNo, count);
    Texts.erase(Texts.begin() + itemNo, Texts.begin() + itemNo + count);
  }
  std::set<std::string> Expected() const {
    std::set<std::string> marks;
    for (size_t i = 0; i < Texts.size(); ++i) AddMarks(marks, static_cast<int32_t>(i), Texts[i]);
    return marks;
  }
  THunspellChecker Checker;
  std::vector<TStarredText> Texts;  // the document's items, as sentences
};

class RPLiveSpellingPeerTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!THunspellChecker().Missing.empty())
      FAIL() << "hunspell dictionaries are missing (" << THunspellChecker().Missing
             << "): install hunspell-en-us and hunspell-ru (scripts/setup.sh)";
  }
};

TEST_F(RPLiveSpellingPeerTest, HunspellFindsExactlyTheKnownMisspellings) {
  THunspellView view;
  for (int32_t n = 0; n < SentenceCount; ++n) view.Add(n);
  view.Pane.Format();
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  EXPECT_EQ(view.Marks(), view.Expected());
  EXPECT_EQ(view.Marks().size(), 6u);
}

// Greek and German words (letters outside ASCII and outside code page 1251) reach the
// UTF-16 handler whole, and exactly the misspelled ones are marked.
TEST_F(RPLiveSpellingPeerTest, UnicodeWordsReachTheUtf16HandlerWhole) {
  const THunspellChecker greekAndGerman({"el_GR", "de_DE"});
  ASSERT_EQ(greekAndGerman.Missing, "") << "install hunspell-el and hunspell-de-de (scripts/setup.sh)";
  THunspellView view;
  std::vector<std::u16string> words;
  view.Pane.OnSpellingCheck = nullptr;
  view.Pane.OnSpellingCheckW = [&](TCustomRichPane*, const WideString& word, int32_t, bool& misspelled) {
    words.push_back(word);
    misspelled = greekAndGerman.Misspelled(word);
  };
  for (const TSentence& sentence : UnicodeSentences) view.Add(sentence);
  view.Pane.Format();
  view.Pane.StartLiveSpelling();
  view.WaitForTheWalk();
  EXPECT_EQ(view.Marks(), view.Expected());
  EXPECT_EQ(view.Marks().size(), 2u);
  EXPECT_NE(std::find(words.begin(), words.end(), u"κοιμάται"), words.end());
  EXPECT_NE(std::find(words.begin(), words.end(), u"Straße"), words.end());
}

// With only the 8-bit question, Greek words of a Unicode style in the Cyrillic code page
// cannot reach it (they would come as question marks, which no dictionary knows): they are
// left unasked and unmarked. In a Greek style they come in code page 1253, which the Greek
// dictionary answers: exactly the misspelled Greek word is marked.
TEST_F(RPLiveSpellingPeerTest, GreekWordsReachTheEightBitHandlerOnlyThroughAGreekCodePage) {
  const THunspellChecker greek({"el_GR"});
  ASSERT_EQ(greek.Missing, "") << "install hunspell-el (scripts/setup.sh)";
  const TSentence english = Sentences[0];
  const TSentence greekSentence = UnicodeSentences[0];
  {
    SCOPED_TRACE("a Cyrillic code page");
    THunspellView view;
    view.Add(english);
    view.Add(greekSentence);
    view.Pane.Format();
    view.Pane.StartLiveSpelling();
    view.WaitForTheWalk();
    std::set<std::string> expected;
    AddMarks(expected, 0, view.Texts[0]);
    EXPECT_EQ(view.Marks(), expected);
  }
  {
    SCOPED_TRACE("a Greek code page");
    THunspellView view;
    view.Style.TextStyles()[RussianStyle]->Charset = 161;  // GREEK_CHARSET: code page 1253
    view.Pane.OnSpellingCheck = [&](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
      misspelled = greek.Misspelled(AnsiToWide(word, 1253));
    };
    view.Add(greekSentence);
    view.Pane.Format();
    view.Pane.StartLiveSpelling();
    view.WaitForTheWalk();
    EXPECT_EQ(view.Marks(), view.Expected());
    EXPECT_EQ(view.Marks().size(), 1u);
  }
}

TEST_F(RPLiveSpellingPeerTest, EditsWhileTheWalkRunsEndWithTheRightMarks) {
  THunspellView view;
  for (int32_t round = 0; round < 12; ++round)
    for (int32_t n = 0; n < SentenceCount; ++n) view.Add(n);
  view.Pane.Format();
  view.Pane.StartLiveSpelling();
  // The document's own operations, each while the walk may be anywhere.
  const auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(3)); };
  pause();
  view.Replace(1, 0);  // item 1 (a sentence with one wrong word) gets two
  pause();
  view.Delete(4, 3);
  view.Add(4);
  pause();
  view.Replace(40, 2);
  view.Data().InsertItem(7, "plainly right", std::make_unique<TRPTextItemInfo>(&view.Data()));
  view.Texts.insert(view.Texts.begin() + 7, Unstar(u"plainly right"));
  for (int32_t n = 0; n < SentenceCount; ++n) {
    view.Add(n);
    view.Pane.Reformat();
  }
  view.Delete(0, 2);
  view.WaitForTheWalk();
  EXPECT_EQ(view.Marks(), view.Expected());
  // Every text item ends up checked.
  for (int32_t i = 0; i < view.Data().GetItemCount(); ++i)
    EXPECT_NE(view.Data().GetItem(i)->ItemState & rpisSpellChecked, 0) << i;
}

#else

TEST(RPLiveSpellingPeerTest, HunspellIsInstalled) {
  FAIL() << "hunspell is missing: install libhunspell-dev, hunspell-en-us and hunspell-ru (scripts/setup.sh) and "
            "configure again";
}

#endif

}  // namespace
