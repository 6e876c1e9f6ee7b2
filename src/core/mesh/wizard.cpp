#include "mesh/wizard.h"

#include "edit/nodes.h"

WizardCheck checkWizardData(const WizardData& d) {
    WizardCheck c;
    if (d.ne < 2) c.messages.emplace_back("Zbyt mała liczba elementów");
    if (d.ne > kWizardMaxCount)
        c.messages.emplace_back("Zbyt duża liczba elementów (najwyżej 100000)");
    if (d.nn > kWizardMaxCount)
        c.messages.emplace_back("Zbyt duża liczba węzłów (najwyżej 100000)");
    if (!fitsFloat(d.MS)) c.messages.emplace_back("Moment skręcający poza zakresem liczb");
    if (!fitsFloat(d.G))
        c.messages.emplace_back("Moduł sprężystości poprzecznej poza zakresem liczb");
    // A value that single precision rounds to 0 is not positive either.
    c.accepted = c.messages.empty() && d.nn >= 3 && static_cast<float>(d.MS) > 0.0f &&
                 static_cast<float>(d.G) > 0.0f;
    return c;
}

EditOutcome startWizardModel(Model& m, int nn, int ne) {
    releaseModel(m);
    EditOutcome r = growModel(m, nn, ne);
    if (!r.ok()) return r;
    for (int i = 1; i <= m.nn; ++i)
        m.x[i][1] = m.x[i][2] = 0.0f;
    for (int e = 1; e <= m.ne; ++e)
        m.noc[e][1] = m.noc[e][2] = m.noc[e][3] = 1;
    m.nbw = 0;
    return r;
}
