// The window's UI Automation elements called as UI Automation calls them, in this process: the
// tree, the story's text pattern and the line's value pattern (Wine's UI Automation reaches
// none of the patterns, tests/windows/uia_probe.cpp).

#include "app/access/uia_parts_windows.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The text a BSTR holds, which it frees.
std::wstring Taken(BSTR text) {
    std::wstring taken(text != nullptr ? text : L"");
    SysFreeString(text);
    return taken;
}

template <typename Pattern>
Pattern* PatternOf(IRawElementProviderSimple* element, PATTERNID id) {
    IUnknown* pattern = nullptr;
    EXPECT_EQ(element->GetPatternProvider(id, &pattern), S_OK);
    return static_cast<Pattern*>(static_cast<void*>(pattern));
}

TEST(UiaParts, TheStoryReadsAndMovesByParagraph) {
    WindowElement* window = new WindowElement(nullptr);
    window->story().ShowStory("> go\nThe gate, é.\n");
    IRawElementProviderFragment* story = nullptr;
    ASSERT_EQ(window->Navigate(NavigateDirection_FirstChild, &story), S_OK);
    auto* text = PatternOf<ITextProvider>(static_cast<WindowPart*>(story), UIA_TextPatternId);
    ASSERT_NE(text, nullptr);
    ITextRangeProvider* document = nullptr;
    ASSERT_EQ(text->get_DocumentRange(&document), S_OK);
    BSTR all = nullptr;
    EXPECT_EQ(document->GetText(-1, &all), S_OK);
    EXPECT_EQ(Taken(all), L"> go\nThe gate, é.\n");

    ITextRangeProvider* line = nullptr;
    ASSERT_EQ(document->Clone(&line), S_OK);
    int moved = 0;
    EXPECT_EQ(line->ExpandToEnclosingUnit(3), S_OK);  // TextUnit_Line
    EXPECT_EQ(line->Move(4, 5, &moved), S_OK);        // TextUnit_Paragraph
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(line->GetText(4, &all), S_OK);
    EXPECT_EQ(Taken(all), L"The ");
    int order = 0;
    EXPECT_EQ(line->CompareEndpoints(0, document, 0, &order), S_OK);
    EXPECT_EQ(order, 5);
    EXPECT_EQ(line->Move(7, 1, &moved), E_INVALIDARG);  // no such unit
    EXPECT_EQ(line->CompareEndpoints(0, nullptr, 0, &order), E_INVALIDARG);

    window->story().ShowStory("> go\nThe gate, é.\n> in\n");  // the document range grows
    EXPECT_EQ(document->MoveEndpointByUnit(1, 6, 1, &moved), S_OK);
    EXPECT_EQ(document->GetText(-1, &all), S_OK);
    EXPECT_EQ(Taken(all), L"> go\nThe gate, é.\n> in\n");
    for (IUnknown* object : {static_cast<IUnknown*>(line), static_cast<IUnknown*>(document),
                             static_cast<IUnknown*>(text), static_cast<IUnknown*>(story)}) {
        object->Release();
    }
    window->Disconnect();
    window->Release();
}

TEST(UiaParts, TheLineIsAnEditWithTheTypedValue) {
    WindowElement* window = new WindowElement(nullptr);
    window->line().ShowLine("open gäte");
    IRawElementProviderFragment* line = nullptr;
    ASSERT_EQ(window->Navigate(NavigateDirection_LastChild, &line), S_OK);
    auto* element = static_cast<WindowPart*>(line);
    EXPECT_EQ(PatternOf<ITextProvider>(element, UIA_TextPatternId), nullptr);
    auto* value = PatternOf<IValueProvider>(element, UIA_ValuePatternId);
    ASSERT_NE(value, nullptr);
    BSTR typed = nullptr;
    EXPECT_EQ(value->get_Value(&typed), S_OK);
    EXPECT_EQ(Taken(typed), L"open gäte");
    value->Release();

    IRawElementProviderFragment* parent = nullptr;
    ASSERT_EQ(line->Navigate(NavigateDirection_Parent, &parent), S_OK);
    EXPECT_EQ(parent, static_cast<IRawElementProviderFragment*>(window));
    parent->Release();
    window->Disconnect();  // the window is gone; the line, still held, answers nothing
    EXPECT_EQ(line->Navigate(NavigateDirection_Parent, &parent), kUiaElementNotAvailable);
    line->Release();
    window->Release();
}

}  // namespace
