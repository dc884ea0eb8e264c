#include "common/overlay.h"

#include "common/controls/canvascontrol.h"

namespace {
// The keyboard focus never stays inside a dialog that goes: it would be deleted with it.
void DropFocusInside(exCanvasControl* root, const exCanvasControl* overlay)
{
    for (const exCanvasControl* c = root->focusedControl; c && overlay; c = c->parent)
        if (c == overlay) {
            root->focusedControl->hasFocus = false;
            root->focusedControl = nullptr;
            return;
        }
}

void Retire(exCanvasControl* root)
{
    if (!root->overlay)
        return;
    DropFocusInside(root, root->overlay);
    delete root->retiredOverlay;
    root->retiredOverlay = root->overlay;
    root->overlay = nullptr;
}
} // namespace

void exOverlay::Open(exCanvasControl* origin, exCanvasControl* overlay)
{
    if (!origin || !overlay)
        return;
    exCanvasControl* root = origin->GetRoot();
    if (root->overlay == overlay)
        return;
    // A dialog closed earlier has finished its handler by now: it goes when the next one opens.
    DropFocusInside(root, root->overlay);
    delete root->retiredOverlay;
    root->retiredOverlay = root->overlay;
    root->overlay = overlay;
    overlay->x = (root->clientWidth - overlay->width) / 2;
    overlay->y = (root->clientHeight - overlay->height) / 2;
    root->dirty = true;
}

bool exOverlay::OpenDialogOf(exCanvasControl* element,
                             const std::function<exCanvasControl*(exCanvasControl*)>& create)
{
    exCanvasControl* root = element->GetRoot();
    Open(root, create(root));
    return false;
}

void exOverlay::Close(exCanvasControl* origin)
{
    if (!origin)
        return;
    exCanvasControl* root = origin->GetRoot();
    Retire(root);
    root->dirty = true;
}

void exOverlay::Dismiss(exCanvasControl* origin)
{
    if (!origin)
        return;
    exCanvasControl* root = origin->GetRoot();
    Close(root);
    if (root->focusedControl) {
        root->focusedControl->hasFocus = false;
        root->focusedControl = nullptr;
    }
}
