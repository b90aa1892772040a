// SPDX-License-Identifier: MIT
#include "report/HelpPage.h"

#include <string_view>

#include "report/ReportContext.h"
#include "report/ReportFrame.h"

namespace corvida {

namespace {

enum class Icon { Web, Local, Site, Image };

// Builds the page, numbering the sample icons as they are written.
class HelpText {
public:
    HelpText& operator<<(std::string_view text) {
        m_out += text;
        return *this;
    }
    HelpText& operator<<(Icon icon) {
        const std::string number = std::to_string(++m_icons);
        m_out += "<A HREF=\"#TEST" + number + "\" NAME=\"TEST" + number + "\">";
        switch (icon) {
        case Icon::Web:
            m_out += "<IMG height=\"12\" width=\"12\" SRC=\"global.gif\" ALT=\"WWW hypertext link\">";
            break;
        case Icon::Local:
            m_out += "<IMG height=\"12\" width=\"12\" SRC=\"local.gif\" ALT=\"Local hypertext link\">";
            break;
        case Icon::Site:
            m_out += "<IMG height=\"19\" width=\"19\" SRC=\"site.gif\" ALT=\"Make Local Site Icon\">";
            break;
        case Icon::Image:
            m_out += "<IMG height=\"16\" width=\"14\" SRC=\"newimage.gif\" ALT=\"image icon\">";
            break;
        }
        m_out += "</A>";
        return *this;
    }
    int icons() const { return m_icons; }
    std::string take() { return std::move(m_out); }

private:
    std::string m_out;
    int m_icons = 0;
};

void section(HelpText& page, std::string_view title) {
    page << "</P><H3>"
         << "<B>" << title << "</B>"
         << "</H3><P>";
}

std::string makePage() {
    HelpText page;
    page << "<HTML>"
         << "<HEAD>"
         << "<TITLE>"
         << "How to use the Vantorix Report"
         << "</TITLE>"
         << "</HEAD><BODY>";
    page << ReportFrame::banner("Overview");
    page << "<P>"
         << "The Quillmark Vantorix report is divided into the following six areas.";

    section(page, "1. How to use this report:");
    page << "This page. The first item of the overview leads here; every other item leads to one part of the "
            "report described below. Vantorix writes the report into the folder report of the project's working "
            "folder and makes it anew each time you choose Make Report.";

    section(page, "2. Root document:");
    page
        << "The profile of the document at which Vantorix started to analyze the Website. Every document, "
           "picture and other file of the site has a profile of the same form; the lists of the report lead to "
           "them.</P><P><B>A. Root document</B><BR>"
           "The profile begins with the document's title and its URL, for example:</P><P>"
        << Icon::Web << Icon::Local << "<B>Sample Home Page - http://www.example.com/index.html</B></P><P>" << Icon::Web
        << " opens the document on the Web. " << Icon::Local
        << " opens the local copy of the document. A local copy exists only after you have made the local site "
           "with the Make Local Site button "
        << Icon::Site
        << " of the toolbar; until then the local link leads nowhere.</P><P>"
           "<B>B. Other access points:</B><BR>"
           "Other URLs that deliver the same bytes as the root document, such as http://www.example.com/ for "
           "http://www.example.com/index.html. Only the root document's profile has this part.</P><P>"
           "<B> C. Statistics:</B><BR>"
           "The file size as the server reported it, the download size of the fetched file, the date the "
           "document was processed, the date it was last modified and, when the server gave one, the date it "
           "expires. When the server did not report a size or a date, Vantorix shows question marks: ??? in its place. "
           "Below the table follow a redirection (URL moved from, To) when there was one, with each redirect on "
           "the way: its HTTP code, the location the server gave and the URL it led to; then the HTTP code of "
           "the answer, and the words BROKEN or UNPROCESSED when they apply.</P><P>"
           "<B>D. Excerpts:</B><BR>"
           "The first words of the document's text, as Vantorix found them.</P><P>"
           "<B>E. Links <I>"
        << "from"
        << "</I> this Document</B><BR>"
           "Every link that the document holds, grouped by kind: documents, pictures, audio, video, mail, FTP, "
           "Gopher and other links. Each entry looks like these:</P><P>"
        << Icon::Web << Icon::Local << " Products<BR>" << Icon::Web << Icon::Local << Icon::Image
        << " http://www.example.com/images/logo.gif<BR>" << Icon::Web << " mailto:webmaster@example.com</P><P>"
        << Icon::Web << " links to the URL on the Web, " << Icon::Local << " to the local copy, " << Icon::Image
        << " stands for the thumbnail of a picture (a small copy of the picture itself when it was fetched), "
           "and the title (or the URL when the node has no title) leads to the node's profile. Profiles are "
           "grouped by depth and file type, such as Documents: Level 3 for the documents that are three links "
           "away from the root document.</P><P>"
           "<B>F. Links <I>"
        << "to"
        << "</I> this Document</B><BR>"
           "Every document of the site that links to this one, for example:</P><P>"
        << Icon::Web << Icon::Local << " Sample Home Page<BR>" << Icon::Web << Icon::Local << " Products";

    section(page, "3. Summary statistics of analyzed Website");
    page << "A table of the number of documents, pictures, audio and video files found on the site with the sum "
            "of their download sizes in bytes, and the number of FTP, Gopher and mail links.";

    section(page, "4. Problems");
    page << "<B>Broken Links:</B> links whose fetch or test did not succeed.</P><P>"
            "<B>By Links:</B> every broken link with the HTTP code of its answer in parentheses (-1 when the "
            "server did not answer at all), for example:</P><P>"
         << Icon::Web << " (404) http://www.example.com/old.html</P><P>"
         << "<B>By Document:</B> every fetched document that holds broken links, each followed by its broken "
            "links:</P><P>"
         << Icon::Web << Icon::Local << " Products<BR>" << Icon::Web << " (404) http://www.example.com/old.html</P><P>"
         << "<B>Duplicated documents and media files:</B> documents and pictures that hold the same bytes under "
            "different URLs. Each group begins with the first of its members and lists the copies below it:</P><P>"
         << Icon::Web << Icon::Local << " Products http://www.example.com/products.html<BR>" << Icon::Web
         << " http://www.example.com/catalog/products.html";

    section(page, "5. Tested Links");
    page << "Tested links are links that Vantorix processed and checked for being broken: documents, pictures "
            "and other media that it fetched or whose existence it tested. Each list is divided by horizontal "
            "rulers, one per level, starting from the root document (level 0), for example:</P><P>"
         << Icon::Web << Icon::Local << " Sample Home Page<HR>" << Icon::Web << Icon::Local << " Products<HR>"
         << Icon::Web << Icon::Local << Icon::Image << " http://www.example.com/images/logo.gif";

    section(page, "6. Untested Links");
    page << "Untested links are links that Vantorix processed but did not test, because the project's options "
            "told it to leave them:"
         << "<DL>"
         << "<DT><B>Documents, Pictures, Other media</B></DT><DD>" << Icon::Web
         << " http://www.example.org/ (a document on another Website)</DD>"
         << "<DT><B>Unknown links</B></DT><DD>" << Icon::Web
         << " http://www.example.com/cgi-bin/query (a link whose MIME type Vantorix could not learn)</DD>"
         << "<DT><B>Unprocessed links</B></DT><DD>" << Icon::Web
         << " http://www.example.com/level9.html (a link that was referenced but never processed, for example "
            "because it lies beyond the maximum level)</DD>"
         << "<DT><B>Mail, FTP, Gopher</B></DT><DD>" << Icon::Web
         << " mailto:webmaster@example.com (links of these kinds are listed, never followed)</DD>";
    page << "</DL>"
         << "</BODY>"
         << "</HTML>";
    return page.take();
}

} // namespace

const std::string& HelpPage::bytes() {
    static const std::string page = makePage();
    return page;
}

void HelpPage::write(ReportContext& context) {
    context.writeFile("usererpt.htm", bytes());
}

} // namespace corvida
