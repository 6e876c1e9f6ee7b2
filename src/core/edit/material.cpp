#include "edit/material.h"

#include "edit/nodes.h"

EditOutcome setShearModulus(Model& m, double G) {
    if (!(static_cast<float>(G) > 0.0f))
        return {EditStatus::Refused, "Moduł sprężystości poprzecznej <=0"};
    if (!fitsFloat(G))
        return {EditStatus::Refused, "Moduł sprężystości poprzecznej poza zakresem liczb"};
    m.G = static_cast<float>(G);
    m.obliczono = 0;
    return {};
}

EditOutcome setTwistingMoment(Model& m, double MS) {
    if (!fitsFloat(MS)) return {EditStatus::Refused, "Moment skręcający poza zakresem liczb"};
    m.MS = static_cast<float>(MS);
    m.obliczono = 0;
    return {};
}
