// SPDX-License-Identifier: MIT
#pragma once

// A ThumbnailCache draws the pictures of picture nodes into boxes: the node's fetched file
// from its project's working directory, scaled to fit the box with its proportions kept and
// centred in it. Loading and scaling a picture is costly, and the Wavefront map draws many
// 32 x 32 boxes on every paint, so the scaled pictures are kept, one per node and box size,
// and the least recently drawn ones make room when the kept pictures pass a byte budget.
//
// Picture files come from crawled sites: a file whose full decoding would take more than
// kMaxDecodeBytes is refused unless its format can decode straight at a smaller size, and
// every decoder stays under Qt's image allocation limit. When the working copy is gone (some
// kinds of nodes keep none after processing) the node's small GIF thumbnail is drawn instead,
// when it has one.
//
// Nodes are known by address: the owner clears the cache before the nodes it has drawn are
// freed (when the document's contents go).

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>

#include <QImage>
#include <QSize>

class QPainter;
class QRect;

namespace corvida {

class WebNode;

class ThumbnailCache {
public:
    static constexpr std::size_t kDefaultBudget = std::size_t{32} << 20;
    // The most bytes a picture may take fully decoded when its format cannot decode smaller.
    static constexpr qint64 kMaxDecodeBytes = qint64{128} << 20;
    // What remembering a picture that could not be read counts against the budget.
    static constexpr std::size_t kFailedEntryBytes = 64;

    // A cache keeping at most budget bytes of scaled pictures, reading the files of the project
    // whose working directory (ending with '/') is workingDirectory.
    explicit ThumbnailCache(std::string workingDirectory = {}, std::size_t budget = kDefaultBudget);

    // The working directory the files are read from from now on. Kept pictures stay: the
    // files are the same when a project's directory moves.
    void setWorkingDirectory(std::string workingDirectory) { m_workingDirectory = std::move(workingDirectory); }
    const std::string& workingDirectory() const { return m_workingDirectory; }

    // Draws node's picture fitted into box and centred in it; returns whether a picture was
    // drawn. Nothing is drawn for an empty box, a missing or unreadable file, or a refused one;
    // such a file is not read again until the node's flags change.
    bool draw(QPainter& painter, const WebNode& node, const QRect& box);
    // node's picture scaled to fit a box of boxSize, from the cache or loaded now; a null
    // image when there is none.
    QImage picture(const WebNode& node, QSize boxSize);

    // Forgets every kept picture.
    void clear();
    std::size_t budget() const { return m_budget; }
    // The bytes the kept pictures take, and how many are kept.
    std::size_t byteCount() const { return m_bytes; }
    std::size_t size() const { return m_entries.size(); }
    // How many times a picture file was read: a measure of how well the cache works.
    std::size_t loadCount() const { return m_loads; }

private:
    struct Key {
        const WebNode* node = nullptr;
        int width = 0;
        int height = 0;

        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    struct Entry {
        Key key;
        QImage image;        // null: the picture could not be read
        std::uint32_t flags; // the node's flags when it was read
    };
    using Entries = std::list<Entry>; // most recently drawn first

    QImage load(const std::string& file, QSize boxSize);
    // What an entry counts against the budget; a picture that could not be read counts a little.
    static std::size_t costOf(const QImage& image);
    void keep(const Key& key, const QImage& image, std::uint32_t flags);
    void drop(Entries::iterator entry);

    std::string m_workingDirectory;
    std::size_t m_budget;
    std::size_t m_bytes = 0;
    std::size_t m_loads = 0;
    Entries m_entries;
    std::unordered_map<Key, Entries::iterator, KeyHash> m_index;
};

} // namespace corvida
