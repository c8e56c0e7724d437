#include <gtest/gtest.h>

#include "xml/XmlTestSupport.h"

#include "xml/utils/UriUtils.h"

namespace {

// The examples of RFC 2396 Appendix C, against the base "http://a/b/c/d;p?q". Where
// the RFC allows either an error or a result that climbs above the root, resolution
// fails (an empty result).
TEST(UriUtilsTest, ResolvesTheExamplesOfRfc2396AppendixC) {
  const struct {
    const char16_t* Reference;
    const char16_t* Expected;  // empty: resolution fails
  } cases[] = {
      // C.1 normal examples
      {u"g:h", u"g:h"},
      {u"g", u"http://a/b/c/g"},
      {u"./g", u"http://a/b/c/g"},
      {u"g/", u"http://a/b/c/g/"},
      {u"/g", u"http://a/g"},
      {u"//g", u"http://g"},
      {u"?y", u"http://a/b/c/?y"},  // RFC 2396, not RFC 3986's "http://a/b/c/d;p?y"
      {u"g?y", u"http://a/b/c/g?y"},
      {u"#s", u"http://a/b/c/d;p?q#s"},
      {u"g#s", u"http://a/b/c/g#s"},
      {u"g?y#s", u"http://a/b/c/g?y#s"},
      {u";x", u"http://a/b/c/;x"},
      {u"g;x", u"http://a/b/c/g;x"},
      {u"g;x?y#s", u"http://a/b/c/g;x?y#s"},
      {u".", u"http://a/b/c/"},
      {u"./", u"http://a/b/c/"},
      {u"..", u"http://a/b/"},
      {u"../", u"http://a/b/"},
      {u"../g", u"http://a/b/g"},
      {u"../..", u"http://a/"},
      {u"../../", u"http://a/"},
      {u"../../g", u"http://a/g"},
      // C.2 abnormal examples
      {u"", u"http://a/b/c/d;p?q"},
      {u"../../../g", u""},
      {u"../../../../g", u""},
      {u"/./g", u"http://a/./g"},
      {u"/../g", u"http://a/../g"},
      {u"g.", u"http://a/b/c/g."},
      {u".g", u"http://a/b/c/.g"},
      {u"g..", u"http://a/b/c/g.."},
      {u"..g", u"http://a/b/c/..g"},
      {u"./../g", u"http://a/b/g"},
      {u"./g/.", u"http://a/b/c/g/"},
      {u"g/./h", u"http://a/b/c/g/h"},
      {u"g/../h", u"http://a/b/c/h"},
      {u"g;x=1/./y", u"http://a/b/c/g;x=1/y"},
      {u"g;x=1/../y", u"http://a/b/c/y"},
      {u"g?y/./x", u"http://a/b/c/g?y/./x"},
      {u"g?y/../x", u"http://a/b/c/g?y/../x"},
      {u"g#s/./x", u"http://a/b/c/g#s/./x"},
      {u"g#s/../x", u"http://a/b/c/g#s/../x"},
      {u"http:g", u"http:g"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Reference));
    WideString result = u"stale";
    EXPECT_EQ(ResolveUriReference(u"http://a/b/c/d;p?q", c.Reference, result), *c.Expected != 0);
    EXPECT_EQ(Narrow(result), Narrow(c.Expected));
  }
}

TEST(UriUtilsTest, ResolutionEdgeCases) {
  const struct {
    const char16_t* Base;
    const char16_t* Reference;
    const char16_t* Expected;  // empty: resolution fails
  } cases[] = {
      {u"x://h/a/d", u"b/c", u"x://h/a/b/c"},
      {u"x://h/a/b/c", u"../y", u"x://h/a/y"},
      {u"x://h/a/b", u".", u"x://h/a/"},
      {u"x://h/p?q#g", u"#f", u"x://h/p?q#f"},
      {u"x://h/a/b", u"?y", u"x://h/a/?y"},
      {u"x://h/a", u"../../y", u""},
      {u"a/b", u"c", u""},                             // neither has a scheme
      {u"x://h/a", u"y://k/./../z", u"y://k/./../z"},  // a scheme keeps its dot segments
      {u"a/b", u"y:z", u"y:z"},                        // a reference with a scheme needs no base scheme
      {u"x://h/a", u"%zz", u""},                       // a malformed reference
      {u"file:///C%3a/Books/a.fb2", u"img/c.png", u"file:///C%3a/Books/img/c.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.Base) + " + " + Narrow(c.Reference));
    WideString result = u"stale";
    EXPECT_EQ(ResolveUriReference(c.Base, c.Reference, result), *c.Expected != 0);
    EXPECT_EQ(Narrow(result), Narrow(c.Expected));
  }
}

TEST(UriUtilsTest, Productions) {
  const struct {
    bool (*Test)(WideStringView);
    const char* Name;
    const char16_t* Text;
    bool Expected;
  } cases[] = {
      {IsUriAbsoluteUri, "absoluteURI", u"file:///C%3a/Books/a.fb2", true},  // empty server authority
      {IsUriAbsoluteUri, "absoluteURI", u"urn:a:b", true},                   // opaque part
      {IsUriAbsoluteUri, "absoluteURI", u"x://h.example:8080/a;p/b?q", true},
      {IsUriAbsoluteUri, "absoluteURI", u"a.fb2", false},
      {IsUriAbsoluteUri, "absoluteURI", u"1x://h", false},
      {IsUriAbsoluteUri, "absoluteURI", u"x://h/%zz", false},
      {IsUriAbsoluteUri, "absoluteURI", u"x://h_1/", true},   // a registry-based authority
      {IsUriAbsoluteUri, "absoluteURI", u"x:\u00E9", false},  // non-ASCII never passes
      {IsUriAbsoluteUri, "absoluteURI", u"", false},
      {IsUriHostname, "hostname", u"example.org.", true},
      {IsUriHostname, "hostname", u"example..org", false},
      {IsUriHostname, "hostname", u"-a.org", false},
      {IsUriHostname, "hostname", u"a.1org", false},
      {IsUriHostname, "hostname", u"a-b.c9", true},
      {IsUriHostname, "hostname", u"", false},
      {IsUriHost, "host", u"10.0.0.999", true},
      {IsUriIPv4address, "IPv4address", u"1.2.3", false},
      {IsUriIPv4address, "IPv4address", u"1.2.3.4.5", false},
      {IsUriIPv4address, "IPv4address", u"1..3.4", false},
      {IsUriHostport, "hostport", u"h:80", true},
      {IsUriHostport, "hostport", u"h:8a", false},
      {IsUriServer, "server", u"u:p@h:1", true},
      {IsUriServer, "server", u"", true},
      {IsUriServer, "server", u"u@", false},
      {IsUriUserinfo, "userinfo", u"", true},
      {IsUriRegName, "reg_name", u"", false},
      {IsUriAuthority, "authority", u"", true},
      {IsUriPath, "path", u"", true},
      {IsUriOpaquePart, "opaque_part", u"/a", false},
      {IsUriQuery, "query", u"", true},
      {IsUriFragment, "fragment", u"a%2", false},
      {IsUriUrics, "uric", u"", false},
      {IsUriScheme, "scheme", u"a+b-c.d", true},
      {IsUriScheme, "scheme", u"a_b", false},
      {IsUriPort, "port", u"", true},
      {IsUriDomainlabel, "domainlabel", u"9", true},
      {IsUriToplabel, "toplabel", u"9", false},
      {IsUriNetPath, "net_path", u"//h", true},
      {IsUriAbsPath, "abs_path", u"/a b", false},
      {IsUriHierPart, "hier_part", u"/a?b?c", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Name) + ": " + Narrow(c.Text));
    EXPECT_EQ(c.Test(c.Text), c.Expected);
  }
}

TEST(UriUtilsTest, AnalyzerSplitsAndRecomposesAReference) {
  TUriWideStrAnalyzer uri;
  ASSERT_TRUE(uri.ParseReference(u"x://h:1/a/b?q#f"));
  EXPECT_EQ(uri.UriScheme(), u"x");
  EXPECT_EQ(uri.UriAuthority(), u"h:1");
  EXPECT_EQ(uri.UriPath(), u"/a/b");
  EXPECT_EQ(uri.UriQuery(), u"q");
  EXPECT_EQ(uri.UriFragment(), u"f");
  EXPECT_EQ(uri.ComposeReference(), u"x://h:1/a/b?q#f");

  // An empty query is present, unlike a missing one.
  ASSERT_TRUE(uri.ParseReference(u"a?"));
  EXPECT_TRUE(uri.HasUriQuery());
  EXPECT_FALSE(uri.HasUriFragment());
  EXPECT_EQ(uri.ComposeReference(), u"a?");
}

TEST(UriUtilsTest, AFailedParseLeavesTheAnalyzerEmpty) {
  TUriWideStrAnalyzer uri;
  ASSERT_TRUE(uri.ParseReference(u"x://h/p?q#f"));
  EXPECT_FALSE(uri.ParseReference(u"a/b:c"));  // "a/b" is no scheme
  EXPECT_FALSE(uri.HasUriScheme() || uri.HasUriAuthority() || uri.HasUriQuery() || uri.HasUriFragment());
  EXPECT_EQ(uri.ComposeReference(), u"");
}

TEST(UriUtilsTest, AssignKeepsThePresenceFlagOfARejectedComponent) {
  TUriWideStrAnalyzer uri;
  EXPECT_TRUE(uri.AssignQuery(u"ignored", false));  // absent: accepted and emptied
  EXPECT_FALSE(uri.HasUriQuery());
  EXPECT_FALSE(uri.AssignQuery(u"a b", true));  // present but invalid
  EXPECT_TRUE(uri.HasUriQuery());
  EXPECT_EQ(uri.UriQuery(), u"");
  EXPECT_FALSE(uri.AssignPath(u"a b"));
  EXPECT_TRUE(uri.AssignPath(u"/a"));
  EXPECT_EQ(uri.UriPath(), u"/a");
}

TEST(UriUtilsTest, FileNameToFileUri) {
  const struct {
    const char* Name;
    int Flags;
    const char16_t* Expected;
  } cases[] = {
      {"/home/u/Books/a.fb2", 0, u"file:///home/u/Books/a.fb2"},
      {"/home/u/Books/a.fb2", FileUriWithLocalhost, u"file://localhost/home/u/Books/a.fb2"},
      {"C:/Books/a.fb2", 0, u"file:///C%3a/Books/a.fb2"},
      {"C:/Books/a.fb2", FileUriKeepColons, u"file:///C:/Books/a.fb2"},
      {"/a b/\xD0\x96~*'()!_-.x", 0, u"file:///a%20b/%D0%96~*'()!_-.x"},
      {"/a\\b%", 0, u"file:///a%5Cb%25"},
      {"", 0, u"file://"},
      {"", FileUriWithLocalhost, u"file://localhost"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Narrow(FileNameToFileUri(c.Name, c.Flags)), Narrow(c.Expected));
  }
}

}  // namespace
