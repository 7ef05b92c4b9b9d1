// The ATK objects over the windows: one GObject type per set of interfaces (component always;
// action, value and text when the window's description has them), the application object above
// the top-level windows, and AtkUtil's root. Every answer is read afresh from the window's
// WM_ACCDESCRIBE; an object whose window went answers nothing. See Accessibility.h.
#include "platform/a11y/Accessibility.h"
#include "platform/a11y/AtkPrivate.h"
#include "platform/wnd/WinUser.h"
#include "platform/wnd/WindowManager.h"

#if SKINKIT_HAVE_ATK
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

namespace platform::a11y {

using wnd::AccDescription;
using wnd::AccRole;

namespace {

// --- what a window says about itself ---

} // namespace

AccDescription Describe(HWND hwnd)
{
    AccDescription d;
    if (::IsWindow(hwnd))
        ::SendMessageW(hwnd, WM_ACCDESCRIBE, 0, reinterpret_cast<LPARAM>(&d));
    return d;
}

namespace {

AtkRole ToAtkRole(AccRole role)
{
    switch (role) {
    case AccRole::Frame:
        return ATK_ROLE_FRAME;
    case AccRole::ToolTip:
        return ATK_ROLE_TOOL_TIP;
    case AccRole::Panel:
        return ATK_ROLE_PANEL;
    case AccRole::PushButton:
        return ATK_ROLE_PUSH_BUTTON;
    case AccRole::ToggleButton:
        return ATK_ROLE_TOGGLE_BUTTON;
    case AccRole::CheckBox:
        return ATK_ROLE_CHECK_BOX;
    case AccRole::RadioButton:
        return ATK_ROLE_RADIO_BUTTON;
    case AccRole::Label:
        return ATK_ROLE_LABEL;
    case AccRole::Slider:
        return ATK_ROLE_SLIDER;
    case AccRole::ScrollBar:
        return ATK_ROLE_SCROLL_BAR;
    case AccRole::Link:
        return ATK_ROLE_LINK;
    case AccRole::Image:
        return ATK_ROLE_IMAGE;
    case AccRole::Table:
        return ATK_ROLE_TABLE;
    case AccRole::Unknown:
        break;
    }
    return ATK_ROLE_UNKNOWN;
}

struct StateRow
{
    unsigned bit;
    AtkStateType atk;
};
constexpr StateRow kStates[] = {
    {wnd::acc::Enabled, ATK_STATE_ENABLED},     {wnd::acc::Enabled, ATK_STATE_SENSITIVE},
    {wnd::acc::Focusable, ATK_STATE_FOCUSABLE}, {wnd::acc::Focused, ATK_STATE_FOCUSED},
    {wnd::acc::Pressed, ATK_STATE_PRESSED},     {wnd::acc::Checkable, ATK_STATE_CHECKABLE},
    {wnd::acc::Checked, ATK_STATE_CHECKED},     {wnd::acc::Visible, ATK_STATE_VISIBLE},
    {wnd::acc::Showing, ATK_STATE_SHOWING},     {wnd::acc::Horizontal, ATK_STATE_HORIZONTAL},
    {wnd::acc::Active, ATK_STATE_ACTIVE},       {wnd::acc::Selectable, ATK_STATE_SELECTABLE},
    {wnd::acc::Selected, ATK_STATE_SELECTED},   {wnd::acc::Mixed, ATK_STATE_INDETERMINATE},
};

size_t g_made = 0;

} // namespace

// The windows an object shows as its children, in creation order (the order of the tab
// stops and of reading); for the application, its shown top-level windows.
std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> out;
    if (!parent) {
        for (HWND top : wnd::TopLevels())
            if (static_cast<DWORD>(::GetWindowLongW(top, GWL_STYLE)) & WS_VISIBLE)
                out.push_back(top);
        return out;
    }
    HWND first = ::GetWindow(parent, GW_CHILD);
    // GW_CHILD is the top of the Z order, the last made; its bottom sibling the first.
    for (HWND h = first ? ::GetWindow(first, GW_HWNDLAST) : nullptr; h;
         h = ::GetWindow(h, GW_HWNDPREV))
        out.push_back(h);
    return out;
}

namespace {

// --- the objects ---

struct WindowObject
{
    AtkObject parent;
    Node* node;
};
struct WindowObjectClass
{
    AtkObjectClass parent;
};

struct AppObject
{
    AtkObject parent;
};
struct AppObjectClass
{
    AtkObjectClass parent;
};

// Interfaces an object has besides AtkComponent, as bits; one GType per combination.
enum Interfaces : unsigned {
    kAction = 1,
    kValue = 2,
    kText = 4,
    kTable = 8,
    kLink = 16,
    kInterfaceCombinations = 32
};

// The objects made, while the tree is there.
struct Objects
{
    AtkObject* app = nullptr;
    std::string appName;
    std::map<HWND, Node*> nodes;
};
Objects* g_objects = nullptr;
const AtkLibrary* g_lib = nullptr;

GType g_windowType = 0;
GType g_appType = 0;
GType g_types[kInterfaceCombinations] = {};

Node* NodeOf(AtkObject* object)
{
    return object ? reinterpret_cast<WindowObject*>(object)->node : nullptr;
}

template <typename T> Node* NodeOf(T* iface)
{
    return NodeOf(reinterpret_cast<AtkObject*>(iface));
}

unsigned InterfacesOf(const AccDescription& d)
{
    return (d.actions.empty() ? 0u : kAction) | (d.hasValue ? kValue : 0u) |
           (d.role == AccRole::Label ? kText : 0u) | (d.role == AccRole::Table ? kTable : 0u) |
           (d.role == AccRole::Link ? kLink : 0u);
}

std::string Utf8(const CString& s)
{
    return s.ToUtf8();
}

} // namespace

// Reads the window afresh into the node's strings; answers the description.
AccDescription Refresh(Node* node)
{
    AccDescription d = Describe(LiveWindow(node));
    node->name = Utf8(d.name);
    node->description = Utf8(d.description.IsEmpty() ? d.url : d.description);
    node->text = Utf8(d.text);
    node->actions = d.actions;
    return d;
}

namespace {

// --- AtkObject of a window ---

const gchar* WindowGetName(AtkObject* o)
{
    Node* n = NodeOf(o);
    if (!LiveWindow(n))
        return nullptr;
    Refresh(n);
    return n->name.c_str();
}

const gchar* WindowGetDescription(AtkObject* o)
{
    Node* n = NodeOf(o);
    if (!LiveWindow(n))
        return nullptr;
    Refresh(n);
    return n->description.c_str();
}

AtkObject* WindowGetParent(AtkObject* o)
{
    const HWND h = LiveWindow(NodeOf(o));
    if (!h)
        return nullptr;
    const HWND parent = wnd::IsTopLevel(h) ? nullptr : ::GetParent(h);
    return parent ? ObjectFor(parent) : g_objects->app;
}

// A table's headers and cells come after its windows (a list's scroll bar).
gint WindowGetNChildren(AtkObject* o)
{
    const HWND h = LiveWindow(NodeOf(o));
    if (!h)
        return 0;
    const auto windows = static_cast<gint>(ChildWindows(h).size());
    const AccDescription d = Describe(h);
    if (d.role != AccRole::Table)
        return windows;
    return static_cast<gint>(
        std::min<long long>(G_MAXINT, static_cast<long long>(windows) + TableChildCount(d.table)));
}

AtkObject* RefChildOf(HWND parent, gint index)
{
    const std::vector<HWND> children = ChildWindows(parent);
    if (index < 0 || static_cast<size_t>(index) >= children.size())
        return nullptr;
    AtkObject* child = ObjectFor(children[static_cast<size_t>(index)]);
    return child ? static_cast<AtkObject*>(g_object_ref(child)) : nullptr;
}

AtkObject* WindowRefChild(AtkObject* o, gint index)
{
    Node* n = NodeOf(o);
    const HWND h = LiveWindow(n);
    if (!h || index < 0)
        return nullptr;
    const auto windows = static_cast<gint>(ChildWindows(h).size());
    if (index < windows)
        return RefChildOf(h, index);
    const AccDescription d = Describe(h);
    return d.role == AccRole::Table ? RefTableChild(n, d.table, index - windows) : nullptr;
}

} // namespace

gint IndexIn(HWND parent, HWND hwnd)
{
    const std::vector<HWND> siblings = ChildWindows(parent);
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i] == hwnd)
            return static_cast<gint>(i);
    return -1;
}

namespace {

gint WindowGetIndexInParent(AtkObject* o)
{
    const HWND h = LiveWindow(NodeOf(o));
    if (!h)
        return -1;
    return IndexIn(wnd::IsTopLevel(h) ? nullptr : ::GetParent(h), h);
}

AtkRole WindowGetRole(AtkObject* o)
{
    Node* n = NodeOf(o);
    return LiveWindow(n) ? ToAtkRole(Describe(n->hwnd).role) : ATK_ROLE_INVALID;
}

AtkStateSet* WindowRefStateSet(AtkObject* o)
{
    Node* n = NodeOf(o);
    if (!LiveWindow(n)) {
        AtkStateSet* set = g_lib->atk_state_set_new();
        g_lib->atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
        return set;
    }
    return StateSetOf(Describe(n->hwnd).states);
}

// AtkObject's class: the one the window objects' own finalize passes on to. (The parent of a
// window object's class may be the abstract window class, whose finalize is this one.)
GObjectClass* g_atkObjectClass = nullptr;

void WindowFinalize(GObject* o)
{
    WindowObject* w = reinterpret_cast<WindowObject*>(o);
    delete w->node;
    w->node = nullptr;
    g_atkObjectClass->finalize(o);
}

void WindowClassInit(gpointer klass, gpointer)
{
    auto* k = static_cast<AtkObjectClass*>(klass);
    k->get_name = WindowGetName;
    k->get_description = WindowGetDescription;
    k->get_parent = WindowGetParent;
    k->get_n_children = WindowGetNChildren;
    k->ref_child = WindowRefChild;
    k->get_index_in_parent = WindowGetIndexInParent;
    k->get_role = WindowGetRole;
    k->ref_state_set = WindowRefStateSet;
    g_atkObjectClass = G_OBJECT_CLASS(g_type_class_peek_parent(klass));
    G_OBJECT_CLASS(klass)->finalize = WindowFinalize;
}

// --- AtkComponent ---

void ComponentGetExtents(AtkComponent* c, gint* x, gint* y, gint* w, gint* h, AtkCoordType coords)
{
    *x = *y = *w = *h = 0;
    const HWND hwnd = LiveWindow(NodeOf(c));
    if (!hwnd)
        return;
    CRect r = ScreenExtents(hwnd);
    if (coords == ATK_XY_WINDOW || coords == ATK_XY_PARENT) {
        const HWND origin = coords == ATK_XY_WINDOW || wnd::IsTopLevel(hwnd) ? wnd::TopLevelOf(hwnd)
                                                                             : ::GetParent(hwnd);
        const CRect o = ScreenExtents(origin);
        r.OffsetRect(-o.left, -o.top);
    }
    *x = static_cast<gint>(r.left);
    *y = static_cast<gint>(r.top);
    *w = static_cast<gint>(r.Width());
    *h = static_cast<gint>(r.Height());
}

gboolean ComponentGrabFocus(AtkComponent* c)
{
    const HWND hwnd = LiveWindow(NodeOf(c));
    if (!hwnd)
        return FALSE;
    ::SetFocus(hwnd);
    return ::GetFocus() == hwnd;
}

void ComponentInit(gpointer iface, gpointer)
{
    auto* i = static_cast<AtkComponentIface*>(iface);
    i->get_extents = ComponentGetExtents;
    i->grab_focus = ComponentGrabFocus;
}

// --- AtkAction ---

gint ActionCount(AtkAction* a)
{
    Node* n = NodeOf(a);
    if (!LiveWindow(n))
        return 0;
    Refresh(n);
    return static_cast<gint>(n->actions.size());
}

const gchar* ActionName(AtkAction* a, gint i)
{
    Node* n = NodeOf(a);
    if (!LiveWindow(n))
        return nullptr;
    Refresh(n);
    if (i < 0 || static_cast<size_t>(i) >= n->actions.size())
        return nullptr;
    return n->actions[static_cast<size_t>(i)].c_str();
}

// The action runs from the message loop, as a click would: the caller is answered at once
// and a handler that opens a dialog does not hold the accessibility bus meanwhile.
gboolean ActionDo(AtkAction* a, gint i)
{
    Node* n = NodeOf(a);
    const HWND hwnd = LiveWindow(n);
    if (!hwnd)
        return FALSE;
    Refresh(n);
    if (i < 0 || static_cast<size_t>(i) >= n->actions.size())
        return FALSE;
    return ::PostMessageW(hwnd, WM_ACCDOACTION, static_cast<WPARAM>(i), 0);
}

void ActionInit(gpointer iface, gpointer)
{
    auto* i = static_cast<AtkActionIface*>(iface);
    i->do_action = ActionDo;
    i->get_n_actions = ActionCount;
    i->get_name = ActionName;
}

// --- AtkHyperlinkImpl: a link's object hands out a hyperlink with its URL ---

struct LinkObject
{
    AtkHyperlink parent;
    AtkObject* object; // one reference
};
struct LinkObjectClass
{
    AtkHyperlinkClass parent;
};
GType g_linkType = 0;

AtkObject* LinkTarget(AtkHyperlink* link)
{
    return reinterpret_cast<LinkObject*>(link)->object;
}

gchar* LinkUri(AtkHyperlink* link, gint i)
{
    const HWND h = i == 0 ? LiveWindow(NodeOf(LinkTarget(link))) : nullptr;
    return h ? g_strdup(Describe(h).url.ToUtf8().c_str()) : nullptr;
}

AtkObject* LinkObjectAt(AtkHyperlink* link, gint i)
{
    return i == 0 ? LinkTarget(link) : nullptr;
}

gint LinkEnd(AtkHyperlink* link)
{
    const HWND h = LiveWindow(NodeOf(LinkTarget(link)));
    return h ? static_cast<gint>(g_utf8_strlen(Describe(h).name.ToUtf8().c_str(), -1)) : 0;
}

gint LinkStart(AtkHyperlink*)
{
    return 0;
}

gboolean LinkValid(AtkHyperlink* link)
{
    return LiveWindow(NodeOf(LinkTarget(link))) != nullptr;
}

gint LinkAnchors(AtkHyperlink*)
{
    return 1;
}

void LinkFinalize(GObject* o)
{
    g_object_unref(reinterpret_cast<LinkObject*>(o)->object);
    G_OBJECT_CLASS(g_type_class_peek_parent(G_OBJECT_GET_CLASS(o)))->finalize(o);
}

void LinkClassInit(gpointer klass, gpointer)
{
    G_OBJECT_CLASS(klass)->finalize = LinkFinalize;
    auto* c = static_cast<AtkHyperlinkClass*>(klass);
    c->get_uri = LinkUri;
    c->get_object = LinkObjectAt;
    c->get_end_index = LinkEnd;
    c->get_start_index = LinkStart;
    c->is_valid = LinkValid;
    c->get_n_anchors = LinkAnchors;
}

AtkHyperlink* RefHyperlink(AtkHyperlinkImpl* impl)
{
    auto* link = static_cast<LinkObject*>(g_object_new(g_linkType, nullptr));
    link->object = reinterpret_cast<AtkObject*>(g_object_ref(impl));
    return &link->parent;
}

void HyperlinkImplInit(gpointer iface, gpointer)
{
    static_cast<AtkHyperlinkImplIface*>(iface)->get_hyperlink = RefHyperlink;
}

// --- AtkValue ---

void ValueOut(AtkValue* v, GValue* out, double wnd::AccValue::*field)
{
    Node* n = NodeOf(v);
    const AccDescription d = Describe(LiveWindow(n));
    g_value_init(out, G_TYPE_DOUBLE);
    g_value_set_double(out, d.hasValue ? d.value.*field : 0.0);
}

void ValueCurrent(AtkValue* v, GValue* out)
{
    ValueOut(v, out, &wnd::AccValue::current);
}
void ValueMinimum(AtkValue* v, GValue* out)
{
    ValueOut(v, out, &wnd::AccValue::min);
}
void ValueMaximum(AtkValue* v, GValue* out)
{
    ValueOut(v, out, &wnd::AccValue::max);
}
void ValueIncrement(AtkValue* v, GValue* out)
{
    ValueOut(v, out, &wnd::AccValue::step);
}

gboolean ValueSet(AtkValue* v, const GValue* value)
{
    const HWND hwnd = LiveWindow(NodeOf(v));
    if (!hwnd || !value)
        return FALSE;
    GValue d = G_VALUE_INIT;
    g_value_init(&d, G_TYPE_DOUBLE);
    if (!g_value_transform(value, &d))
        return FALSE;
    const double wanted = g_value_get_double(&d);
    return ::SendMessageW(hwnd, WM_ACCSETVALUE, 0, reinterpret_cast<LPARAM>(&wanted)) != 0;
}

void ValueInit(gpointer iface, gpointer)
{
    auto* i = static_cast<AtkValueIface*>(iface);
    i->get_current_value = ValueCurrent;
    i->get_minimum_value = ValueMinimum;
    i->get_maximum_value = ValueMaximum;
    i->get_minimum_increment = ValueIncrement;
    i->set_current_value = ValueSet;
}

// --- AtkText (labels) ---

const std::string* TextOf(AtkText* t)
{
    Node* n = NodeOf(t);
    if (!LiveWindow(n))
        return nullptr;
    Refresh(n);
    return &n->text;
}

gchar* TextGet(AtkText* t, gint start, gint end)
{
    const std::string* s = TextOf(t);
    if (!s)
        return g_strdup("");
    const glong length = g_utf8_strlen(s->c_str(), -1);
    const glong from = std::clamp<glong>(start, 0, length);
    const glong to = end < 0 ? length : std::clamp<glong>(end, from, length);
    return g_utf8_substring(s->c_str(), from, to);
}

gint TextCount(AtkText* t)
{
    const std::string* s = TextOf(t);
    return s ? static_cast<gint>(g_utf8_strlen(s->c_str(), -1)) : 0;
}

gunichar TextCharAt(AtkText* t, gint offset)
{
    const std::string* s = TextOf(t);
    if (!s || offset < 0 || offset >= g_utf8_strlen(s->c_str(), -1))
        return 0;
    return g_utf8_get_char(g_utf8_offset_to_pointer(s->c_str(), offset));
}

gint TextCaret(AtkText*)
{
    return -1;
}

void TextInit(gpointer iface, gpointer)
{
    auto* i = static_cast<AtkTextIface*>(iface);
    i->get_text = TextGet;
    i->get_character_count = TextCount;
    i->get_character_at_offset = TextCharAt;
    i->get_caret_offset = TextCaret;
}

// --- the application object ---

const gchar* AppGetName(AtkObject*)
{
    return g_objects ? g_objects->appName.c_str() : nullptr;
}

AtkObject* AppGetParent(AtkObject*)
{
    return nullptr;
}

gint AppGetNChildren(AtkObject*)
{
    return g_objects ? static_cast<gint>(ChildWindows(nullptr).size()) : 0;
}

AtkObject* AppRefChild(AtkObject*, gint index)
{
    return g_objects ? RefChildOf(nullptr, index) : nullptr;
}

gint AppGetIndexInParent(AtkObject*)
{
    return -1;
}

AtkRole AppGetRole(AtkObject*)
{
    return ATK_ROLE_APPLICATION;
}

void AppClassInit(gpointer klass, gpointer)
{
    auto* k = static_cast<AtkObjectClass*>(klass);
    k->get_name = AppGetName;
    k->get_parent = AppGetParent;
    k->get_n_children = AppGetNChildren;
    k->ref_child = AppRefChild;
    k->get_index_in_parent = AppGetIndexInParent;
    k->get_role = AppGetRole;
}

// --- AtkUtil: the root and the toolkit ---

AtkObject* UtilGetRoot()
{
    return g_objects ? g_objects->app : nullptr;
}

const gchar* UtilToolkitName()
{
    return "skinkit";
}

const gchar* UtilToolkitVersion()
{
    return "0.1";
}

// --- types ---

void RegisterTypes()
{
    if (g_windowType)
        return;
    const GType atkObject = g_lib->atk_object_get_type();
    GTypeInfo window{};
    window.class_size = sizeof(WindowObjectClass);
    window.class_init = WindowClassInit;
    window.instance_size = sizeof(WindowObject);
    g_windowType =
        g_type_register_static(atkObject, "SkinkitWindowAccessible", &window, G_TYPE_FLAG_ABSTRACT);
    const GInterfaceInfo component{ComponentInit, nullptr, nullptr};
    g_type_add_interface_static(g_windowType, g_lib->atk_component_get_type(), &component);
    const GInterfaceInfo action{ActionInit, nullptr, nullptr};
    const GInterfaceInfo value{ValueInit, nullptr, nullptr};
    const GInterfaceInfo text{TextInit, nullptr, nullptr};
    const GInterfaceInfo link{HyperlinkImplInit, nullptr, nullptr};
    GTypeInfo linkInfo{};
    linkInfo.class_size = sizeof(LinkObjectClass);
    linkInfo.class_init = LinkClassInit;
    linkInfo.instance_size = sizeof(LinkObject);
    g_linkType = g_type_register_static(g_lib->atk_hyperlink_get_type(), "SkinkitHyperlink",
                                        &linkInfo, GTypeFlags(0));
    for (unsigned mask = 0; mask < kInterfaceCombinations; ++mask) {
        GTypeInfo info{};
        info.class_size = sizeof(WindowObjectClass);
        info.instance_size = sizeof(WindowObject);
        const std::string name = "SkinkitWindowAccessible" + std::to_string(mask);
        const GType t = g_type_register_static(g_windowType, name.c_str(), &info, GTypeFlags(0));
        if (mask & kAction)
            g_type_add_interface_static(t, g_lib->atk_action_get_type(), &action);
        if (mask & kValue)
            g_type_add_interface_static(t, g_lib->atk_value_get_type(), &value);
        if (mask & kText)
            g_type_add_interface_static(t, g_lib->atk_text_get_type(), &text);
        if (mask & kTable)
            AddTableInterfaces(t);
        if (mask & kLink)
            g_type_add_interface_static(t, g_lib->atk_hyperlink_impl_get_type(), &link);
        g_types[mask] = t;
    }
    GTypeInfo app{};
    app.class_size = sizeof(AppObjectClass);
    app.class_init = AppClassInit;
    app.instance_size = sizeof(AppObject);
    g_appType =
        g_type_register_static(atkObject, "SkinkitApplicationAccessible", &app, GTypeFlags(0));
    // The bridge finds the root and the toolkit through AtkUtil's class.
    auto* util = static_cast<AtkUtilClass*>(g_type_class_ref(g_lib->atk_util_get_type()));
    util->get_root = UtilGetRoot;
    util->get_toolkit_name = UtilToolkitName;
    util->get_toolkit_version = UtilToolkitVersion;
}

} // namespace

AtkObject* ObjectFor(HWND hwnd)
{
    if (!g_objects || !::IsWindow(hwnd))
        return nullptr;
    if (auto it = g_objects->nodes.find(hwnd); it != g_objects->nodes.end())
        return it->second->object;
    const AccDescription d = Describe(hwnd);
    auto* object = static_cast<AtkObject*>(g_object_new(g_types[InterfacesOf(d)], nullptr));
    CountObjectMade();
    auto* node = new Node;
    node->hwnd = hwnd;
    node->object = object;
    node->reported = d;
    reinterpret_cast<WindowObject*>(object)->node = node;
    g_lib->atk_object_initialize(object, nullptr);
    g_objects->nodes[hwnd] = node;
    return object;
}

namespace {

} // namespace

AtkObject* AppObject()
{
    return g_objects ? g_objects->app : nullptr;
}

Node* FindNode(HWND hwnd)
{
    if (!g_objects)
        return nullptr;
    auto it = g_objects->nodes.find(hwnd);
    return it == g_objects->nodes.end() ? nullptr : it->second;
}

bool HasText(const AccDescription& d)
{
    return (InterfacesOf(d) & kText) != 0;
}

void NotifyStates(AtkObject* object, unsigned changed, unsigned now)
{
    for (const StateRow& row : kStates)
        if ((changed & row.bit) && row.atk != ATK_STATE_SENSITIVE)
            g_lib->atk_object_notify_state_change(object, row.atk, (now & row.bit) != 0);
}

AtkStateSet* StateSetOf(unsigned states)
{
    AtkStateSet* set = g_lib->atk_state_set_new();
    for (const StateRow& row : kStates)
        if (states & row.bit)
            g_lib->atk_state_set_add_state(set, row.atk);
    return set;
}

void CountObjectMade()
{
    ++g_made;
}

void DropNode(Node* node)
{
    DropTable(node);
    AtkObject* o = node->object;
    const HWND h = node->hwnd;
    node->hwnd = nullptr;
    g_lib->atk_object_notify_state_change(o, ATK_STATE_DEFUNCT, TRUE);
    g_objects->nodes.erase(h);
    g_object_unref(o);
}

bool MakeObjects(const std::string& appName)
{
    if (g_objects)
        return true;
    if (!(g_lib = LoadAtk()))
        return false;
    RegisterTypes();
    g_objects = new Objects;
    g_objects->appName = appName;
    g_objects->app = static_cast<AtkObject*>(g_object_new(g_appType, nullptr));
    g_lib->atk_object_initialize(g_objects->app, nullptr);
    return true;
}

void DropObjects()
{
    if (!g_objects)
        return;
    while (!g_objects->nodes.empty())
        DropNode(g_objects->nodes.begin()->second);
    g_object_unref(g_objects->app);
    delete g_objects;
    g_objects = nullptr;
}

HWND LiveWindow(Node* node)
{
    return g_objects && node && node->hwnd && ::IsWindow(node->hwnd) ? node->hwnd : nullptr;
}

Node* NodeOfWindowObject(AtkObject* object)
{
    return NodeOf(object);
}

size_t ObjectsMade()
{
    return g_made;
}

} // namespace platform::a11y
#endif
