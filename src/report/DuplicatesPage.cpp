// SPDX-License-Identifier: MIT
#include "report/DuplicatesPage.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/LocalNames.h"
#include "model/Web.h"
#include "model/WebNode.h"
#include "report/DuplicateFinder.h"
#include "report/PageFile.h"
#include "report/ReportContext.h"
#include "report/ReportEntries.h"
#include "report/ReportFrame.h"

namespace corvida {

namespace {

using Entries = ReportEntries;

// The sets of equal content of one kind (documents or pictures). A node may head a set when
// it is eligible as a head; it may be listed under another head when it is eligible as a
// member. Members are kept in listing order.
class EqualSets {
public:
    EqualSets(DuplicateFinder& finder, const std::vector<const WebNode*>& heads,
              const std::vector<WebNode*>& memberOrder, bool (*isMember)(const WebNode&)) {
        const std::vector<int> sets = finder.classify(heads);
        for (std::size_t i = 0; i < heads.size(); ++i) {
            if (sets[i] != DuplicateFinder::kNoSet) {
                m_setOf.emplace(heads[i], static_cast<std::size_t>(sets[i]));
            }
        }
        m_members.resize(heads.size());
        m_unlisted.resize(heads.size(), 0);
        for (const WebNode* node : memberOrder) {
            if (!isMember(*node)) {
                continue;
            }
            const auto found = m_setOf.find(node);
            if (found != m_setOf.end()) {
                m_members[found->second].push_back(node);
                m_memberSet.emplace(node, found->second);
                ++m_unlisted[found->second];
            }
        }
    }

    // The members of head's set, other than head, that no earlier set listed; they count as
    // listed from now on, and so does head when it is a member itself.
    std::vector<const WebNode*> takeDuplicates(const WebNode* head, std::unordered_set<const WebNode*>& listed) {
        std::vector<const WebNode*> duplicates;
        const auto found = m_setOf.find(head);
        if (found == m_setOf.end()) {
            return duplicates;
        }
        const std::size_t set = found->second;
        // Most heads meet a set whose members are all listed already; the count skips the walk.
        const std::size_t headUnlisted = isUnlistedMember(head, set, listed) ? 1 : 0;
        if (m_unlisted[set] <= headUnlisted) {
            return duplicates;
        }
        for (const WebNode* member : m_members[set]) {
            if (member != head && listed.insert(member).second) {
                duplicates.push_back(member);
                --m_unlisted[set];
            }
        }
        if (headUnlisted != 0 && listed.insert(head).second) {
            --m_unlisted[set];
        } else {
            listed.insert(head);
        }
        return duplicates;
    }

private:
    bool isUnlistedMember(const WebNode* node, std::size_t set,
                          const std::unordered_set<const WebNode*>& listed) const {
        const auto found = m_memberSet.find(node);
        return found != m_memberSet.end() && found->second == set && listed.count(node) == 0;
    }

    std::unordered_map<const WebNode*, std::size_t> m_setOf;
    std::unordered_map<const WebNode*, std::size_t> m_memberSet; // members only
    std::vector<std::vector<const WebNode*>> m_members;          // by set, in listing order
    std::vector<std::size_t> m_unlisted;                         // by set: members not yet listed
};

bool isFetchedDocument(const WebNode& node) {
    return node.hasAnyFlag(kFlagDocument) && Entries::isFetched(node.flags());
}

bool isFetchedPicture(const WebNode& node) {
    return node.hasAnyFlag(kFlagPicture) && Entries::isFetched(node.flags());
}

bool isOrdinary(const WebNode& node) {
    return !node.hasAnyFlag(kFlagStart | kFlagStartAlias);
}

bool isDocumentMember(const WebNode& node) {
    return isFetchedDocument(node) && isOrdinary(node);
}

bool isPictureMember(const WebNode& node) {
    return isFetchedPicture(node) && isOrdinary(node);
}

void documentHead(std::string& out, const WebNode& node) {
    Entries::webLink(out, node);
    Entries::documentLocalPart(out, node);
    out += R"(<A HREF=")";
    LocalNames::appendReportAnchor(out, node);
    out += R"(">)";
    if (!node.title().empty()) {
        Entries::appendText(out, node.title());
        out += ' ';
    }
    Entries::appendText(out, node.url().url());
    out += "</A></LI>";
}

void documentDuplicate(std::string& out, const WebNode& node) {
    Entries::webLink(out, node);
    Entries::localBlank(out);
    Entries::profileLink(out, node);
}

void pictureHead(std::string& out, const WebNode& node) {
    Entries::webLink(out, node);
    Entries::pictureLocalPart(out, node);
    Entries::thumbnailCell(out, node);
    Entries::profileLink(out, node);
}

void pictureDuplicate(std::string& out, const WebNode& node) {
    Entries::webLink(out, node);
    Entries::localBlank(out);
    out += Entries::kSpace4;
    out += Entries::kSpace32;
    out += Entries::kSpace4;
    Entries::profileLink(out, node);
}

} // namespace

void DuplicatesPage::write(ReportContext& context) {
    const Web& web = context.web();
    std::vector<const WebNode*> documents;
    std::vector<const WebNode*> pictures;
    for (const WebNode* node : context.order()) {
        if (isDocumentMember(*node)) {
            documents.push_back(node);
        } else if (isFetchedPicture(*node)) {
            pictures.push_back(node);
        }
    }
    DuplicateFinder finder(web.workingDirectory());
    EqualSets documentSets(finder, documents, context.order(), isDocumentMember);
    EqualSets pictureSets(finder, pictures, web.nodes(), isPictureMember);

    PageFile page(context.directory(), "p_sim.htm");
    std::string& body = page.out();
    body += ReportFrame::open("Duplicated documents and media", "Duplicated documents and media");
    std::unordered_set<const WebNode*> listed;
    for (const WebNode* node : context.order()) {
        const bool document = isDocumentMember(*node);
        if (!document && !isFetchedPicture(*node)) {
            continue;
        }
        const std::vector<const WebNode*> duplicates =
            document ? documentSets.takeDuplicates(node, listed) : pictureSets.takeDuplicates(node, listed);
        if (duplicates.empty()) {
            continue;
        }
        body += "<DIR>";
        if (document) {
            documentHead(body, *node);
        } else {
            pictureHead(body, *node);
        }
        for (const WebNode* duplicate : duplicates) {
            if (document) {
                documentDuplicate(body, *duplicate);
            } else {
                pictureDuplicate(body, *duplicate);
            }
            page.spill();
        }
        body += "</DIR><HR>";
    }
    page.append(ReportFrame::kEnd);
    context.commit(page);
}

} // namespace corvida
