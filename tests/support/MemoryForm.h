#pragma once

// In-memory stand-ins for the window, so the editor's handlers can be driven
// and watched without widgets: a form of named texts and lists, a canvas that
// records what is drawn, and a host with a scripted dialog answer.

#include "editor/Canvas.h"
#include "editor/Controls.h"
#include "editor/Host.h"
#include "support/Answers.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quarnet::testing {

class MemoryControls final : public Controls {
public:
    std::string text(std::string_view control) const override
    {
        const auto it = texts.find(std::string(control));
        return it == texts.end() ? std::string() : it->second;
    }
    void setText(std::string_view control, const std::string& value) override
    {
        texts[std::string(control)] = value;
        writes.emplace_back(control);
    }
    void setItems(std::string_view control, std::span<const std::string> texts, std::span<const int> itemValues) override
    {
        items[std::string(control)].assign(texts.begin(), texts.end());
        std::vector<int>& carried = values[std::string(control)];
        carried.assign(texts.size(), 0);
        std::copy_n(itemValues.begin(), std::min(itemValues.size(), texts.size()), carried.begin());
        selection.erase(std::string(control));
    }
    int selectedIndex(std::string_view control) const override
    {
        const auto it = selection.find(std::string(control));
        return it == selection.end() ? -1 : it->second;
    }
    void setSelectedIndex(std::string_view control, int index) override
    {
        if (index < 0)
            selection.erase(std::string(control));
        else
            selection[std::string(control)] = index;
    }
    std::string itemText(std::string_view control, int index) const override
    {
        const auto it = items.find(std::string(control));
        if (it == items.end() || index < 0 || index >= static_cast<int>(it->second.size()))
            return {};
        return it->second[static_cast<std::size_t>(index)];
    }
    int itemValue(std::string_view control, int index) const override
    {
        const auto it = values.find(std::string(control));
        if (it == values.end() || index < 0 || index >= static_cast<int>(it->second.size()))
            return 0;
        return it->second[static_cast<std::size_t>(index)];
    }

    void setItemColours(std::string_view control, std::span<const Rgb> colours) override
    {
        itemColours[std::string(control)] = std::vector<Rgb>(colours.begin(), colours.end());
    }

    std::map<std::string, std::string> texts;
    std::map<std::string, std::vector<Rgb>> itemColours;
    std::vector<std::string> writes; // control names in the order written
    std::map<std::string, int> selection;
    std::map<std::string, std::vector<std::string>> items;
    std::map<std::string, std::vector<int>> values;
};

class RecordingCanvas final : public Canvas {
public:
    struct Rectangle {
        int left, top, right, bottom;
        Rgb colour;
        friend bool operator==(const Rectangle&, const Rectangle&) = default;
    };
    struct PictureDraw {
        int picture, x, y;
        friend bool operator==(const PictureDraw&, const PictureDraw&) = default;
    };

    int loadPicture(const std::string& path) override
    {
        loadedPath = path;
        return pictureToLoad;
    }
    void releasePicture(int picture) override { released.push_back(picture); }
    bool drawPicture(int picture, int x, int y) override
    {
        if (picture != 0 && picture == brokenPicture)
            return false;
        pictures.push_back({picture, x, y});
        return true;
    }
    void setPictureBrokenHandler(std::function<void(int)> handler) override { brokenHandler = std::move(handler); }
    // The picture turns out broken: drawing it fails from now on and, when
    // told is set, the handler hears of it, as between two events.
    void breakPicture(int picture, bool told)
    {
        brokenPicture = picture;
        if (told && brokenHandler)
            brokenHandler(picture);
    }
    void drawImage(const RgbImage& image, int x, int y) override { images.push_back({image, x, y}); }
    void setDrawColour(Rgb c) override { colour = c; }
    void drawRectangle(int left, int top, int right, int bottom) override
    {
        rectangles.push_back({left, top, right, bottom, colour});
    }
    void showOverlay(const RgbImage& image) override
    {
        overlay = image;
        ++overlaysShown;
    }
    void removeOverlay() override { overlay.reset(); }

    std::optional<RgbImage> overlay; // shown now
    int overlaysShown = 0;

    void drawTextLines(const std::vector<std::string>& lines, Rgb c) override { texts.push_back({lines, c}); }
    void showToast(const std::string& line) override { toasts.push_back(line); }
    std::vector<std::string> toasts; // in the order shown
    std::string lastToast() const { return toasts.empty() ? std::string() : toasts.back(); }

    int pictureToLoad = 7;
    int brokenPicture = 0;
    std::function<void(int)> brokenHandler;
    std::string loadedPath;
    std::vector<int> released;
    std::vector<PictureDraw> pictures;
    std::vector<Rectangle> rectangles;
    struct ImageDraw {
        RgbImage image;
        int x, y;
    };
    std::vector<ImageDraw> images;
    struct TextDraw {
        std::vector<std::string> lines;
        Rgb colour;
    };
    std::vector<TextDraw> texts;
    Rgb colour;
};

class ScriptedHost final : public Host {
public:
    std::optional<std::string> askMapFilePath() override
    {
        ++dialogsShown;
        return nextAnswer;
    }
    std::optional<std::string> askFileToOpen(FileKind kind, const std::string& proposed) override
    {
        return answerFileDialog(kind, proposed, false);
    }
    std::optional<std::string> askFileToSave(FileKind kind, const std::string& proposed) override
    {
        return answerFileDialog(kind, proposed, true);
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text) override
    {
        questions.push_back(text);
        if (whileAsking)
            whileAsking();
        return takeAnswer(answers, false);
    }
    void watchMapFile(const std::string& path) override { watchedPath = path; }
    void ownWriteStarting() override
    {
        ++ownWritesStarted;
        if (whenOwnWriteStarts)
            whenOwnWriteStarts();
    }
    void ownWriteDone() override { ++ownWritesDone; }
    void endProgram(int code) override { exitCode = code; }

    // A file dialog shown: what for, what it proposed, whether to save.
    struct FileDialog {
        FileKind kind;
        std::string proposed;
        bool save;
    };

    std::optional<std::string> nextAnswer;
    std::vector<std::string> messages;
    int dialogsShown = 0;
    std::optional<int> exitCode;
    // The Yes/No questions asked, and their answers in turn; No when none is left.
    std::vector<std::string> questions;
    std::vector<bool> answers;
    std::function<void()> whileAsking; // runs while a question is open
    std::vector<FileDialog> fileDialogs;
    std::vector<std::optional<std::string>> fileAnswers; // in turn; a cancel when none is left
    std::string watchedPath;
    // The editor's own writes to the map, told before and after each.
    int ownWritesStarted = 0;
    int ownWritesDone = 0;
    std::function<void()> whenOwnWriteStarts;

private:
    std::optional<std::string> answerFileDialog(FileKind kind, const std::string& proposed, bool save)
    {
        fileDialogs.push_back({kind, proposed, save});
        return takeAnswer(fileAnswers, std::optional<std::string>());
    }
};

} // namespace quarnet::testing
