#pragma once

#include "base/operator_messages.h"
#include "direct_composition/film_frame.h"
#include "settings/settings_model.h"
#include "support/memory_run_log.h"
#include "support/recording_surface.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace vantorel::direct_composition::testing {

// A picture of the given size whose grey value names it in assertions.
inline Picture taggedPicture(int width, int height, std::uint8_t tag)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels =
        std::make_shared<const std::vector<std::uint8_t>>(static_cast<std::size_t>(width) * height, tag);
    return picture;
}

inline std::uint8_t tagOf(const Picture& picture)
{
    return picture.isNull() ? 0 : picture.pixels->front();
}

// An image whose picture carries a tag; its Rsize copy is square and tagged
// tag + 100, so a test sees which of the two was drawn.
class FakeImage final : public FilmImage {
public:
    FakeImage(int width, int height, std::uint8_t tag, double requestedWidthMm = 0)
        : width_(width), height_(height), tag_(tag), requestedWidthMm_(requestedWidthMm)
    {}
    int pixelWidth() const override { return width_; }
    int pixelHeight() const override { return height_; }
    Picture picture() const override { return taggedPicture(width_, height_, tag_); }
    std::unique_ptr<FilmImage> Rsize() const override
    {
        const int side = width_ > height_ ? width_ : height_;
        return std::make_unique<FakeImage>(side, side, static_cast<std::uint8_t>(tag_ + 100));
    }
    double requestedWidthMm() const override { return requestedWidthMm_; }

private:
    int width_;
    int height_;
    std::uint8_t tag_;
    double requestedWidthMm_;
};

class RecordedMessages final : public base::OperatorMessages {
public:
    void show(const std::string& text, const std::string& title, base::MessageIcon) override
    {
        shown.push_back(title + "|" + text);
    }
    std::vector<std::string> shown;
};

class FakeHeaderPictures final : public HeaderPictures {
public:
    Picture crossIcon() const override { return cross; }
    bool customHeaderExists() const override { return !custom.isNull(); }
    Picture loadCustomHeader() const override { return custom; }

    Picture cross = taggedPicture(32, 32, 201);
    Picture custom;  // missing unless a test sets it
};

inline void PrintTo(const RectF& r, std::ostream* os)
{
    *os << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}

inline ::testing::AssertionResult rectNear(const RectF& actual, const RectF& expected,
                                           double tolerance = 0.01)
{
    auto near = [tolerance](double a, double b) { return std::abs(a - b) <= tolerance; };
    if (near(actual.x, expected.x) && near(actual.y, expected.y) && near(actual.width, expected.width) &&
        near(actual.height, expected.height))
        return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure();
    failure << "rect (" << actual.x << ", " << actual.y << ", " << actual.width << ", " << actual.height
            << ") expected (" << expected.x << ", " << expected.y << ", " << expected.width << ", "
            << expected.height << ")";
    return failure;
}

// Settings, log, messages, header pictures and a recording A4 surface; by
// default the plain case: no black base, no header, no bottom adjustment.
struct CompositionFixture {
    CompositionFixture()
    {
        settings.blackBase = 0;
        settings.printHeader = 0;
        settings.marginBottom = 0;
        settings.header.htjcs = 0;
    }

    void headerOn(int htjcs = 1000)
    {
        settings.printHeader = 1;
        settings.header.htjcs = htjcs;
    }

    CompositionContext context() { return {settings, log, messages, pictures, "/srv/film", appearance}; }

    static FilmImages images(const std::vector<std::pair<int, int>>& sizes)
    {
        FilmImages list;
        std::uint8_t tag = 1;
        for (const auto& size : sizes)
            list.push_back(std::make_unique<FakeImage>(size.first, size.second, tag++));
        return list;
    }

    // The picture operations of the only finished document, black base and
    // header left out.
    std::vector<DrawOp> imageOps() const
    {
        std::vector<DrawOp> ops;
        const auto ended = surface.endedDocuments();
        if (ended.size() != 1)
            return ops;
        for (const auto& op : ended.front().ops) {
            const auto tag = tagOf(op.picture);
            if (op.kind == DrawOp::Kind::Picture && tag != 0 && tag < 200)
                ops.push_back(op);
        }
        return ops;
    }

    settings::Settings settings;
    FilmAppearance appearance;  // a plain film unless a test asks otherwise
    vantorel::testing::MemoryRunLog log;
    RecordedMessages messages;
    FakeHeaderPictures pictures;
    vantorel::testing::RecordingSurface surface;
};

}  // namespace vantorel::direct_composition::testing
