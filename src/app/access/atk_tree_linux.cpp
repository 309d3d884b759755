#include "app/access/atk_tree_linux.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "console/utf8.h"

// The objects and what they show; touched on the bridge's thread only.
struct AtkTree {
    struct KeyListener {
        guint id;
        AtkKeySnoopFunc function;
        gpointer data;
    };

    AtkObject* application = nullptr;
    AtkObject* frame = nullptr;
    AtkObject* terminal = nullptr;
    AtkObject* entry = nullptr;
    AtkObject* label = nullptr;
    TreeState state;
    // Kept for the queries, made again only when the story, its rows or the line change.
    std::u32string terminalText;          // TerminalText(state.text)
    std::vector<int> terminalLines;       // TerminalLineStarts(state.text)
    std::vector<int> terminalParagraphs;  // ParagraphStarts(terminalText)
    Display* display = nullptr;           // the thread's own connection to the X server, once asked
    bool displayOpened = false;
    std::vector<KeyListener> keyListeners;
    guint nextListenerId = 1;
    std::function<void(const LineEdit&)> edit;
    std::function<void()> listening;
    // Characters of the story whose insertion was told while the bridge listened.
    std::size_t storyHeard = 0;
};

namespace {

using Tree = AtkTree;
using KeyListener = AtkTree::KeyListener;

enum class Part { Application, Frame, Terminal, Entry, Label };

// Names and descriptions a screen reader says where the player asks where they are: the story
// holds the focus, so it carries the game's name.
constexpr const char* kLabelHint = ". F7 gives more time to act.";
constexpr const char* kTerminalDescription =
    "The story so far, then the command being typed. F7 gives more time to act.";
constexpr const char* kEntryName = "Command";
constexpr const char* kEntryDescription = "The command being typed";
constexpr const char* kToolkitName = "Tarnwick";
constexpr const char* kToolkitVersion = "1";

// The tree MakeAtkTree made, for ATK's callbacks, which carry no data of their own. Its owner
// keeps it on the heap: a bridge thread let go at the end still finds it after static
// destruction.
Tree* liveTree = nullptr;

Tree& TheTree() {
    return *liveTree;
}

std::atomic<int> keyListenerCount{0};

// Every object is a PartObject of one of three types: the application and the label with no
// interfaces, the frame a component and a window, the terminal and the entry components with
// text.
struct PartObject {
    AtkObject parent;
    Part part;
};
struct PartObjectClass {
    AtkObjectClass parent;
};
using ApplicationObject = PartObject;
using ApplicationObjectClass = PartObjectClass;
using FrameObject = PartObject;
using FrameObjectClass = PartObjectClass;
using TextObject = PartObject;
using TextObjectClass = PartObjectClass;

Part PartOf(gconstpointer object) {
    return static_cast<const PartObject*>(object)->part;
}

// --- AtkObject

gint NChildren(AtkObject* object) {
    switch (PartOf(object)) {
        case Part::Application:
            return 1;
        case Part::Frame:
            return 3;
        default:
            return 0;
    }
}

AtkObject* RefChild(AtkObject* object, gint index) {
    const Tree& tree = TheTree();
    AtkObject* child = nullptr;
    if (PartOf(object) == Part::Application && index == 0) child = tree.frame;
    if (PartOf(object) == Part::Frame && index == 0) child = tree.terminal;
    if (PartOf(object) == Part::Frame && index == 1) child = tree.entry;
    if (PartOf(object) == Part::Frame && index == 2) child = tree.label;
    return child != nullptr ? ATK_OBJECT(g_object_ref(child)) : nullptr;
}

gint IndexInParent(AtkObject* object) {
    if (PartOf(object) == Part::Label) return 2;
    return PartOf(object) == Part::Entry ? 1 : 0;
}

AtkStateSet* RefStateSet(AtkObject* object) {
    AtkStateSet* states = atk_state_set_new();
    const bool focused = TheTree().state.window.focused;
    switch (PartOf(object)) {
        case Part::Application:
            return states;
        case Part::Label:
            break;
        case Part::Frame:
            if (focused) atk_state_set_add_state(states, ATK_STATE_ACTIVE);
            break;
        case Part::Terminal:
            // The focus is the terminal's, not the entry's: Orca speaks what a terminal gains,
            // unprompted, only while it has the focus, and echoes keys from its text around the
            // caret.
            atk_state_set_add_state(states, ATK_STATE_FOCUSABLE);
            atk_state_set_add_state(states, ATK_STATE_MULTI_LINE);
            // Its last line is the one being typed, which the reader may edit.
            atk_state_set_add_state(states, ATK_STATE_EDITABLE);
            if (focused) atk_state_set_add_state(states, ATK_STATE_FOCUSED);
            break;
        case Part::Entry:
            atk_state_set_add_state(states, ATK_STATE_FOCUSABLE);
            atk_state_set_add_state(states, ATK_STATE_EDITABLE);
            atk_state_set_add_state(states, ATK_STATE_SINGLE_LINE);
            break;
    }
    for (AtkStateType state :
         {ATK_STATE_ENABLED, ATK_STATE_SENSITIVE, ATK_STATE_VISIBLE, ATK_STATE_SHOWING}) {
        atk_state_set_add_state(states, state);
    }
    return states;
}

void InitObjectClass(AtkObjectClass* klass) {
    klass->get_n_children = NChildren;
    klass->ref_child = RefChild;
    klass->get_index_in_parent = IndexInParent;
    klass->ref_state_set = RefStateSet;
}

// --- AtkComponent

// Where the window's content is on the screen now, asked of the X server on the bridge's own
// connection, so that extents follow a window moved while the game rests; where it cannot be
// asked, where it was last told.
std::pair<int, int> WindowOrigin() {
    Tree& tree = TheTree();
    if (!std::exchange(tree.displayOpened, true)) tree.display = XOpenDisplay(nullptr);
    const AccessWindow& window = tree.state.window;
    int x = window.x;
    int y = window.y;
    Window child = 0;
    if (tree.display != nullptr && window.nativeWindow != 0) {
        XTranslateCoordinates(tree.display, window.nativeWindow, DefaultRootWindow(tree.display), 0,
                              0, &x, &y, &child);
    }
    return {x, y};
}

// A box in the window, in the coordinates asked for.
void Place(const Box& box, gint* x, gint* y, gint* width, gint* height, AtkCoordType coordinates) {
    const auto [left, top] =
        coordinates == ATK_XY_SCREEN ? WindowOrigin() : std::pair<int, int>{0, 0};
    *x = box.x + left;
    *y = box.y + top;
    *width = box.width;
    *height = box.height;
}

void GetExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height,
                AtkCoordType coordinates) {
    const ConsoleLayout& layout = TheTree().state.window.layout;
    Box box{0, 0, static_cast<int>(layout.width), static_cast<int>(layout.height)};
    if (PartOf(component) == Part::Terminal) box = TerminalBox(layout);
    if (PartOf(component) == Part::Entry) box = EntryBox(layout);
    Place(box, x, y, width, height, coordinates);
}

AtkLayer GetLayer(AtkComponent* component) {
    return PartOf(component) == Part::Frame ? ATK_LAYER_WINDOW : ATK_LAYER_WIDGET;
}

void InitComponent(AtkComponentIface* iface) {
    iface->get_extents = GetExtents;
    iface->get_layer = GetLayer;
}

// --- AtkText

const std::u32string& TextOf(gconstpointer text) {
    const Tree& tree = TheTree();
    return PartOf(text) == Part::Terminal ? tree.terminalText : tree.state.text.line;
}

// Lines are the rows the window shows; sentences the story's paragraphs.
const std::vector<int>& LinesOf(gconstpointer text, AtkTextBoundary boundary) {
    static const std::vector<int> kOneLine{0};
    if (PartOf(text) != Part::Terminal) return kOneLine;
    const bool sentence =
        boundary == ATK_TEXT_BOUNDARY_SENTENCE_START || boundary == ATK_TEXT_BOUNDARY_SENTENCE_END;
    return sentence ? TheTree().terminalParagraphs : TheTree().terminalLines;
}

gchar* Copy(const std::u32string& characters) {
    return g_strdup(Utf8FromUtf32(characters).c_str());
}

gchar* GetText(AtkText* text, gint start, gint end) {
    return Copy(Characters(TextOf(text), start, end));
}

gunichar GetCharacterAtOffset(AtkText* text, gint offset) {
    const std::u32string& characters = TextOf(text);
    if (offset < 0 || offset >= static_cast<gint>(characters.size())) return 0;
    return characters[static_cast<std::size_t>(offset)];
}

gint GetCharacterCount(AtkText* text) {
    return static_cast<gint>(TextOf(text).size());
}

gint GetCaretOffset(AtkText* text) {
    const ConsoleText& console = TheTree().state.text;
    if (PartOf(text) == Part::Terminal) return TerminalCaret(console);
    return std::clamp(console.caret, 0, static_cast<int>(console.line.size()));
}

Boundary BoundaryOf(AtkTextBoundary boundary) {
    switch (boundary) {
        case ATK_TEXT_BOUNDARY_CHAR:
            return Boundary::Character;
        case ATK_TEXT_BOUNDARY_WORD_START:
            return Boundary::WordStart;
        case ATK_TEXT_BOUNDARY_WORD_END:
            return Boundary::WordEnd;
        case ATK_TEXT_BOUNDARY_LINE_END:
        case ATK_TEXT_BOUNDARY_SENTENCE_END:
            return Boundary::LineEnd;
        default:
            return Boundary::LineStart;
    }
}

template <TextRange (*Find)(const std::u32string&, const std::vector<int>&, int, Boundary)>
gchar* TextAround(AtkText* text, gint offset, AtkTextBoundary boundary, gint* start, gint* end) {
    const std::u32string& characters = TextOf(text);
    const TextRange range = Find(characters, LinesOf(text, boundary), offset, BoundaryOf(boundary));
    *start = range.start;
    *end = range.end;
    return Copy(Characters(characters, range.start, range.end));
}

gint GetNSelections(AtkText*) {
    return 0;
}

gchar* GetSelection(AtkText* text, gint, gint* start, gint* end) {
    *start = *end = GetCaretOffset(text);
    return nullptr;
}

AtkAttributeSet* GetRunAttributes(AtkText* text, gint, gint* start, gint* end) {
    *start = 0;
    *end = GetCharacterCount(text);
    return nullptr;
}

// A character's place as the window shows it, as the log is scrolled now.
void GetCharacterExtents(AtkText* text, gint offset, gint* x, gint* y, gint* width, gint* height,
                         AtkCoordType coordinates) {
    const TreeState& state = TheTree().state;
    const bool entry = PartOf(text) == Part::Entry;
    Place(CharacterBox(state.text, state.window.layout, offset, entry), x, y, width, height,
          coordinates);
}

gint GetOffsetAtPoint(AtkText* text, gint x, gint y, AtkCoordType coordinates) {
    const TreeState& state = TheTree().state;
    if (coordinates == ATK_XY_SCREEN) {
        const auto [left, top] = WindowOrigin();
        x -= left;
        y -= top;
    }
    return OffsetAtPoint(state.text, state.window.layout, x, y, PartOf(text) == Part::Entry);
}

void InitText(AtkTextIface* iface) {
    iface->get_text = GetText;
    iface->get_character_at_offset = GetCharacterAtOffset;
    iface->get_character_count = GetCharacterCount;
    iface->get_caret_offset = GetCaretOffset;
    iface->get_text_at_offset = TextAround<RangeAt>;
    iface->get_text_before_offset = TextAround<RangeBefore>;
    iface->get_text_after_offset = TextAround<RangeAfter>;
    iface->get_n_selections = GetNSelections;
    iface->get_selection = GetSelection;
    iface->get_run_attributes = GetRunAttributes;
    iface->get_character_extents = GetCharacterExtents;
    iface->get_offset_at_point = GetOffsetAtPoint;
}

// --- AtkEditableText: the reader's edits of the line go to the window's thread (LineEdit), which
// types them into the line; what the line then holds comes back with the next state shown.

// Where the line being typed starts in `text`'s characters: the terminal ends with it.
int LineStart(gconstpointer text) {
    const Tree& tree = TheTree();
    if (PartOf(text) != Part::Terminal) return 0;
    return static_cast<int>(tree.terminalText.size() - tree.state.text.line.size());
}

// Hands on the edit of characters [start, end) of `text` (the object's offsets), kept to the
// line; an edit wholly before it is refused.
bool EditLine(AtkEditableText* text, int start, int end, std::u32string replacement) {
    const int lineStart = LineStart(text);
    const int length = static_cast<int>(TheTree().state.text.line.size());
    if (end < 0) end = lineStart + length;
    if (end < lineStart || start > end) return false;
    LineEdit edit;
    edit.start = std::clamp(start - lineStart, 0, length);
    edit.end = std::clamp(end - lineStart, edit.start, length);
    edit.text = std::move(replacement);
    TheTree().edit(edit);
    return true;
}

void SetTextContents(AtkEditableText* text, const gchar* contents) {
    EditLine(text, LineStart(text), -1, Utf32FromUtf8(contents != nullptr ? contents : ""));
}

void InsertText(AtkEditableText* text, const gchar* inserted, gint length, gint* position) {
    if (inserted == nullptr || position == nullptr) return;
    const std::u32string characters =
        Utf32FromUtf8(length < 0 ? std::string_view(inserted) : std::string_view(inserted, length));
    if (EditLine(text, *position, *position, characters)) {
        *position += static_cast<gint>(characters.size());
    }
}

void DeleteText(AtkEditableText* text, gint start, gint end) {
    EditLine(text, start, end, {});
}

void InitEditableText(AtkEditableTextIface* iface) {
    iface->set_text_contents = SetTextContents;
    iface->insert_text = InsertText;
    iface->delete_text = DeleteText;
}

// --- The types

G_DEFINE_TYPE(ApplicationObject, application_object, ATK_TYPE_OBJECT)
G_DEFINE_TYPE_WITH_CODE(FrameObject, frame_object, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, InitComponent)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_WINDOW, nullptr))
G_DEFINE_TYPE_WITH_CODE(TextObject, text_object, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, InitComponent)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_TEXT, InitText)
                                G_IMPLEMENT_INTERFACE(ATK_TYPE_EDITABLE_TEXT, InitEditableText))

void application_object_init(ApplicationObject*) {}
void application_object_class_init(ApplicationObjectClass* klass) {
    InitObjectClass(ATK_OBJECT_CLASS(klass));
}
void frame_object_init(FrameObject*) {}
void frame_object_class_init(FrameObjectClass* klass) {
    InitObjectClass(ATK_OBJECT_CLASS(klass));
}
void text_object_init(TextObject*) {}
void text_object_class_init(TextObjectClass* klass) {
    InitObjectClass(ATK_OBJECT_CLASS(klass));
}

AtkObject* MakePart(GType type, Part part, AtkRole role, const char* name, const char* description,
                    AtkObject* parent) {
    auto* object = static_cast<PartObject*>(g_object_new(type, nullptr));
    object->part = part;
    AtkObject* accessible = ATK_OBJECT(object);
    atk_object_set_role(accessible, role);
    atk_object_set_name(accessible, name);
    if (description != nullptr) atk_object_set_description(accessible, description);
    if (parent != nullptr) atk_object_set_parent(accessible, parent);
    return accessible;
}

// --- AtkUtil

AtkObject* GetRoot() {
    return liveTree != nullptr ? liveTree->application : nullptr;
}

const gchar* GetToolkitName() {
    return kToolkitName;
}

const gchar* GetToolkitVersion() {
    return kToolkitVersion;
}

guint AddKeyListener(AtkKeySnoopFunc function, gpointer data) {
    Tree& tree = TheTree();
    tree.keyListeners.push_back({tree.nextListenerId, function, data});
    keyListenerCount = static_cast<int>(tree.keyListeners.size());
    // The bridge adds its key listener as it starts listening to every signal, once it has
    // learnt that someone listens: only what is raised from then on reaches anyone.
    tree.listening();
    return tree.nextListenerId++;
}

void RemoveKeyListener(guint id) {
    std::vector<KeyListener>& listeners = TheTree().keyListeners;
    listeners.erase(std::remove_if(listeners.begin(), listeners.end(),
                                   [id](const KeyListener& listener) { return listener.id == id; }),
                    listeners.end());
    keyListenerCount = static_cast<int>(listeners.size());
}

void Emit(AtkObject* object, const std::vector<TextEdit>& edits) {
    for (const TextEdit& edit : edits) {
        if (!edit.told) continue;
        const auto length = static_cast<gint>(edit.text.size());
        switch (edit.kind) {
            case TextEdit::Kind::Insert:
                g_signal_emit_by_name(object, "text-insert", edit.offset, length,
                                      Utf8FromUtf32(edit.text).c_str());
                break;
            case TextEdit::Kind::Delete:
                g_signal_emit_by_name(object, "text-remove", edit.offset, length,
                                      Utf8FromUtf32(edit.text).c_str());
                break;
            case TextEdit::Kind::CaretMoved:
                g_signal_emit_by_name(object, "text-caret-moved", edit.offset);
                break;
        }
    }
}

void ShowFocus(const Tree& tree, bool focused) {
    atk_object_notify_state_change(tree.frame, ATK_STATE_ACTIVE, focused);
    g_signal_emit_by_name(tree.frame, focused ? "activate" : "deactivate");
    atk_object_notify_state_change(tree.terminal, ATK_STATE_FOCUSED, focused);
}

}  // namespace

std::shared_ptr<AtkTree> MakeAtkTree(const std::string& name,
                                     std::function<void(const LineEdit&)> edit,
                                     std::function<void()> listening) {
    auto made = std::make_unique<Tree>();
    Tree* tree = made.get();
    tree->edit = std::move(edit);
    tree->listening = std::move(listening);
    liveTree = tree;
    auto* util = static_cast<AtkUtilClass*>(g_type_class_ref(ATK_TYPE_UTIL));
    util->get_root = GetRoot;
    util->get_toolkit_name = GetToolkitName;
    util->get_toolkit_version = GetToolkitVersion;
    util->add_key_event_listener = AddKeyListener;
    util->remove_key_event_listener = RemoveKeyListener;
    tree->application = MakePart(application_object_get_type(), Part::Application,
                                 ATK_ROLE_APPLICATION, name.c_str(), nullptr, nullptr);
    tree->frame = MakePart(frame_object_get_type(), Part::Frame, ATK_ROLE_FRAME, name.c_str(),
                           nullptr, tree->application);
    tree->terminal = MakePart(text_object_get_type(), Part::Terminal, ATK_ROLE_TERMINAL,
                              name.c_str(), kTerminalDescription, tree->frame);
    tree->entry = MakePart(text_object_get_type(), Part::Entry, ATK_ROLE_ENTRY, kEntryName,
                           kEntryDescription, tree->frame);
    // A reader's where-am-I says a terminal's label (one outside its ancestors), not its name:
    // the window's title, as a label beside it, labels it, and names the time to act's key, since
    // the reader says no description there.
    const std::string label = name + kLabelHint;
    tree->label = MakePart(application_object_get_type(), Part::Label, ATK_ROLE_LABEL,
                           label.c_str(), nullptr, tree->frame);
    atk_object_add_relationship(tree->terminal, ATK_RELATION_LABELLED_BY, tree->label);
    atk_object_add_relationship(tree->label, ATK_RELATION_LABEL_FOR, tree->terminal);
    return std::shared_ptr<AtkTree>(made.release(), [](AtkTree* ending) {
        if (liveTree == ending) liveTree = nullptr;
        for (AtkObject* object : {ending->label, ending->entry, ending->terminal, ending->frame}) {
            g_object_unref(object);
        }
        // The application stays ATK's root for as long as the bridge may ask for it.
        delete ending;
    });
}

void ShowOnAtkTree(const TreeState& state) {
    Tree& tree = TheTree();
    const TreeState before = std::exchange(tree.state, state);
    const bool textChanged = before.text.story != state.text.story ||
                             before.text.line != state.text.line || tree.terminalLines.empty();
    if (textChanged) {
        tree.terminalText = TerminalText(state.text);
        tree.terminalParagraphs = ParagraphStarts(tree.terminalText);
    }
    if (textChanged || before.text.rows != state.text.rows) {
        tree.terminalLines = TerminalLineStarts(state.text);
    }
    Emit(tree.terminal, TerminalEdits(before.text, state.text));
    Emit(tree.entry, LineEdits(before.text, state.text));
    if (before.window.focused != state.window.focused) ShowFocus(tree, state.window.focused);
    const std::size_t story = state.text.story->size();
    tree.storyHeard = tree.keyListeners.empty() ? std::min(tree.storyHeard, story) : story;
}

void RepeatFocus() {
    Tree& tree = TheTree();
    if (!tree.state.window.focused) return;
    ShowFocus(tree, true);
    // What the story gained while nobody listened (the welcome, before the reader knew the
    // window) is told now, after the focus, as the reader would have heard it.
    const std::u32string& story = *tree.state.text.story;
    if (tree.storyHeard < story.size()) {
        Emit(tree.terminal, {{TextEdit::Kind::Insert, static_cast<int>(tree.storyHeard),
                              story.substr(tree.storyHeard)}});
        tree.storyHeard = story.size();
    }
}

bool NotifyKeyListeners(AtkKeyEventStruct& event) {
    // A listener may remove itself while called.
    const std::vector<KeyListener> listeners = TheTree().keyListeners;
    bool consumed = false;
    for (const KeyListener& listener : listeners) {
        if (listener.function(&event, listener.data) != 0) consumed = true;
    }
    return consumed;
}

bool HasKeyListeners() {
    return keyListenerCount > 0;
}
