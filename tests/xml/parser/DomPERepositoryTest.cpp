#include <gtest/gtest.h>

#include "platform/base/Exception.h"
#include "xml/XmlTestSupport.h"
#include "xml/dom/DomExceptions.h"
#include "xml/parser/DomPERepository.h"

namespace {

// A reader stand-in that counts loads and answers with a set error type and text.
class TFakeReader : public IDomExternalPELoader {
public:
  void LoadExternalPE(WideStringView baseUri, WideStringView publicLiteral, WideStringView systemLiteral,
                      TXmlErrorKind& loadError, WideString& replacementText) override {
    ++Loads;
    EXPECT_TRUE(replacementText.empty());  // cleared by the repository
    LastRequest = WideString(baseUri) + u"|" + WideString(publicLiteral) + u"|" + WideString(systemLiteral);
    loadError = Answer;
    replacementText = Text;
  }
  int Loads = 0;
  WideString LastRequest;
  TXmlErrorKind Answer = 0;
  WideString Text = u"<!ELEMENT a ANY>";
};

class DomPERepositoryTest : public ::testing::Test {
protected:
  TXmlErrorKind Lookup(WideStringView name, bool loadExternal) {
    return Repository.GetReplacementInfo(name, loadExternal, Text, Public, SystemId);
  }
  TFakeReader Reader;
  TDomPERepository Repository{&Reader};
  WideString Text, Public, SystemId;
};

TEST_F(DomPERepositoryTest, InternalEntitiesWithCharacterReferencesReplaced) {
  EXPECT_TRUE(Repository.AddInternalPE(u"p", u"(a|b)&#42; &#x3C;"));
  EXPECT_FALSE(Repository.AddInternalPE(u"p", u"second"));  // the first declaration binds
  EXPECT_EQ(Lookup(u"p", false), 0);
  EXPECT_EQ(Text, u"(a|b)* <");
  EXPECT_EQ(Public, u"");
  EXPECT_EQ(SystemId, u"");
  EXPECT_EQ(Repository.DeclaredPEs.GetLength(), 1);
}

TEST_F(DomPERepositoryTest, RefusedDeclarationsAddNothing) {
  const auto invalid = [](auto f) { ExpectRaises<EInvalid_Character_Err>(f, "Invalid character error."); };
  invalid([&] { Repository.AddInternalPE(u"1p", u"v"); });
  invalid([&] { Repository.AddInternalPE(u"p", u"&#xZZ;"); });
  invalid([&] { Repository.AddInternalPE(u"p", u"&#0;"); });
  invalid([&] { Repository.AddExternalPE(u"p", u"file:///d/", u"{", u"x.dtd"); });
  invalid([&] { Repository.AddExternalPE(u"p", u"file:///d/", u"", u"a'b\"c"); });
  EXPECT_EQ(Repository.DeclaredPEs.GetLength(), 0);
  ExpectRaises<EAccessViolation>([] { TDomPERepository repository(nullptr); }, "AOwner not specified.");
  ExpectRaises<EAccessViolation>([] { TDomPEInfoObject entity(nullptr, u"p", u"v"); }, "AOwner not specified.");
}

TEST_F(DomPERepositoryTest, LookupErrors) {
  EXPECT_EQ(Lookup(u"no name", true), 65);
  EXPECT_EQ(Lookup(u"missing", true), 37);
  EXPECT_EQ(Text, u"");
}

TEST_F(DomPERepositoryTest, ExternalEntitiesLoadOnceOnDemand) {
  EXPECT_TRUE(Repository.AddExternalPE(u"ext", u"file:///dtd/main.dtd", u"-//Q//EN", u"parts/ext.ent"));
  EXPECT_FALSE(Repository.AddExternalPE(u"ext", u"", u"", u"other.ent"));
  // Not asked to load: 148, empty results, nothing tried.
  EXPECT_EQ(Lookup(u"ext", false), 148);
  EXPECT_EQ(Text, u"");
  EXPECT_EQ(Reader.Loads, 0);
  EXPECT_EQ(Lookup(u"ext", true), 0);
  EXPECT_EQ(Reader.LastRequest, u"file:///dtd/main.dtd|-//Q//EN|parts/ext.ent");
  EXPECT_EQ(Text, u"<!ELEMENT a ANY>");
  EXPECT_EQ(Public, u"-//Q//EN");
  EXPECT_EQ(SystemId, u"file:///dtd/parts/ext.ent");
  EXPECT_EQ(Lookup(u"ext", true), 0);
  EXPECT_EQ(Reader.Loads, 1);
}

TEST_F(DomPERepositoryTest, AFailedLoadIsNotRetried) {
  Repository.AddExternalPE(u"ext", u"file:///d/", u"", u"missing.ent");
  Reader.Answer = 40;
  EXPECT_EQ(Lookup(u"ext", true), 40);
  EXPECT_EQ(Text, u"");
  EXPECT_EQ(SystemId, u"");
  Reader.Answer = 0;
  EXPECT_EQ(Lookup(u"ext", true), 40);
  EXPECT_EQ(Reader.Loads, 1);
  // A warning-class load still delivers its text.
  Repository.AddExternalPE(u"warned", u"file:///d/", u"", u"w.ent");
  Reader.Answer = 3;
  EXPECT_EQ(Lookup(u"warned", true), 3);
  EXPECT_EQ(Text, u"<!ELEMENT a ANY>");
}

TEST_F(DomPERepositoryTest, ClearFreesEveryEntity) {
  Repository.AddInternalPE(u"a", u"1");
  Repository.AddExternalPE(u"b", u"file:///d/", u"", u"b.ent");
  Repository.Clear();
  EXPECT_EQ(Repository.DeclaredPEs.GetLength(), 0);
  EXPECT_EQ(Lookup(u"a", true), 37);
  EXPECT_TRUE(Repository.AddInternalPE(u"a", u"2"));
}

}  // namespace
