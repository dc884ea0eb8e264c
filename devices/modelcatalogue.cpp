#include "devices/modelcatalogue.h"

#include "devices/nodealpha.h"
#include "devices/nodebeta.h"
#include "devices/nodedelta.h"
#include "devices/nodeepsilon.h"
#include "devices/nodegamma.h"
#include "devices/nodezeta.h"
#include "devices/sprite.h"
#include "devices/storeeta.h"
#include "devices/switchiota.h"
#include "devices/switchkappa.h"
#include "devices/switchtheta.h"

exBaseNode* exModelCatalogue::Create(uint16_t modelCode, exCanvasControl* parent)
{
    switch (modelCode) {
    case exNodeBeta::kModelCode:
        return new exNodeBeta(parent);
    case exNodeGamma::kModelCode:
        return new exNodeGamma(parent);
    case exSprite::kModelCode:
        return new exSprite(parent);
    case exNodeDelta::kModelCode:
        return new exNodeDelta(parent);
    case exNodeEpsilon::kModelCode:
        return new exNodeEpsilon(parent);
    case exNodeZeta::kModelCode:
        return new exNodeZeta(parent);
    case exNodeAlpha::kModelCode:
        return new exNodeAlpha(parent);
    case exStoreEta::kModelCode:
        return new exStoreEta(parent);
    case exSwitchTheta::kModelCode:
        return new exSwitchTheta(parent);
    case exSwitchKappa::kModelCode:
    case exSwitchKappa::kLaterModelCode:
        return new exSwitchKappa(parent);
    case exSwitchIota::kModelCode:
        return new exSwitchIota(parent);
    default:
        return nullptr;
    }
}
