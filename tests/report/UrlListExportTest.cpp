// SPDX-License-Identifier: MIT
#include "report/UrlListExport.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Web.h"

namespace corvida {
namespace {

// A start page whose title holds a comma, quotes and an ampersand, a page whose request URL
// holds markup and a query, and a mail link. Dates are shown in UTC.
class UrlListExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The report tests all read dates in UTC, so the zone is not restored.
        setenv("TZ", "UTC0", 1);
        tzset();

        WebNode* start = m_web.findOrAddNode(CUrl("http://h/index.htm"));
        start->setLevel(0);
        start->setTitle("Tom, \"Jerry\" & co");
        start->setSize(2001);
        start->setLastModified(820837200); // Jan 05 1996 10:20 UTC
        WebNode* query = m_web.addLink(start, CUrl("http://h/q.htm"), 1, false);
        query->setRequestUrl("http://h/q?a=<b>&c=\"d\"");
        query->setTitle("http://h/q");
        WebNode* mail = m_web.addLink(start, CUrl("mailto:x@h"), 1, false);
        m_rows = {start, query, mail};
    }

    Web m_web;
    std::vector<const WebNode*> m_rows;
};

TEST_F(UrlListExportTest, CommaSeparatedQuotesOnlyFieldsThatNeedIt) {
    const UrlListExport all(defaultColumnTable(), UrlListExport::Columns::All, "demo");
    const std::string header = "Name,Content Type,Size,Depth,Last Modified,# In Links,# Out Links,Title\n";
    const std::string clipboard = header + "http://h/index.htm,text/html,2001,0,Jan 05- 96 10:20,0,2,"
                                           "\"Tom, \"\"Jerry\"\" & co\",\n"
                                           "\"http://h/q?a=<b>&c=\"\"d\"\"\",text/html,0,1,,1,0,,\n"
                                           "mailto:x@h,mail,0,1,,1,0,,\n";
    EXPECT_EQ(all.clipboardText(m_rows), clipboard);
    EXPECT_EQ(all.commaSeparated(m_rows),
              "URL list made by Vantorix 2.0.\nURL list of the demo project.\n" + clipboard);

    // A project name with a comma stays one field.
    EXPECT_EQ(UrlListExport(defaultColumnTable(), UrlListExport::Columns::All, "a,b").commaSeparated({}),
              "URL list made by Vantorix 2.0.\n\"URL list of the a,b project.\"\n" + header);
}

TEST_F(UrlListExportTest, HiddenAndReorderedColumns) {
    ColumnTable table = defaultColumnTable();
    table[3].shown = 0; // Size
    table[0].shown = 0; // the icon column is never written anyway
    const std::vector<const WebNode*> first = {m_rows[0]};
    const UrlListExport visible(table, UrlListExport::Columns::OnlyVisible, "demo");
    EXPECT_EQ(visible.clipboardText(first), "Name,Content Type,Depth,Last Modified,# In Links,# Out Links,Title\n"
                                            "http://h/index.htm,text/html,0,Jan 05- 96 10:20,0,2,"
                                            "\"Tom, \"\"Jerry\"\" & co\",\n");
    EXPECT_EQ(UrlListExport(table, UrlListExport::Columns::All, "demo").clipboardText({}),
              "Name,Content Type,Size,Depth,Last Modified,# In Links,# Out Links,Title\n");

    // Only the table's last entry goes without a comma: a Title moved to the front is followed
    // by one.
    ColumnTable moved = defaultColumnTable();
    std::rotate(moved.begin(), moved.begin() + 8, moved.end());
    EXPECT_EQ(UrlListExport(moved, UrlListExport::Columns::All, "demo").clipboardText(first),
              "Title,Name,Content Type,Size,Depth,Last Modified,# In Links,# Out Links\n"
              "\"Tom, \"\"Jerry\"\" & co\",http://h/index.htm,text/html,2001,0,Jan 05- 96 10:20,0,2,\n");
}

TEST_F(UrlListExportTest, HtmlTableEscapesEveryText) {
    const UrlListExport all(defaultColumnTable(), UrlListExport::Columns::All, "x<y>");
    EXPECT_EQ(
        all.html(m_rows),
        "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML 3.0//EN//\" [] >\n"
        "<HTML>\n<HEAD>\n<TITLE>URL list made by Vantorix 2.0.</TITLE></HEAD>\n<BODY>\n<BODYTEXT>\n"
        "<H1>URL list made by Vantorix 2.0.</H1><HR>\n"
        "<TABLE LANG=\"en.us\" BORDER=\"3\" UNITS=\"EN\">\n"
        "<CAPTION>URL list of the x&lt;y&gt; project.</CAPTION>\n"
        "<TR>\n<TH>Name</TH><TH>Content Type</TH><TH>Size</TH><TH>Depth</TH><TH>Last Modified</TH>"
        "<TH># In Links</TH><TH># Out Links</TH><TH>Title</TH></TR>\n"
        "<TR><TD><A HREF=\"http://h/index.htm\">http://h/index.htm</A></TD><TD>text/html</TD><TD>2001</TD>"
        "<TD>0</TD><TD>Jan 05, 96 10:20</TD><TD>0</TD><TD>2</TD><TD>Tom, &quot;Jerry&quot; &amp; co</TD></TR>\n"
        "<TR><TD><A HREF=\"http://h/q?a=&lt;b&gt;&amp;c=&quot;d&quot;\">http://h/q?a=&lt;b&gt;&amp;c=&quot;d&quot;"
        "</A></TD><TD>text/html</TD><TD>0</TD><TD>1</TD><TD></TD><TD>1</TD><TD>0</TD><TD></TD></TR>\n"
        "<TR><TD><A HREF=\"mailto:x@h\">mailto:x@h</A></TD><TD>mail</TD><TD>0</TD><TD>1</TD><TD></TD>"
        "<TD>1</TD><TD>0</TD><TD></TD></TR>\n"
        "</TABLE></BODYTEXT>\n</BODY>\n</HTML>");
}

} // namespace
} // namespace corvida
