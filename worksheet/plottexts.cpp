#include "worksheet/plottexts.h"

namespace kvelmor {

PlotTexts plotTexts(bool czech, std::string_view frequencyCaption, int distance)
{
    const std::string caption(frequencyCaption);
    const std::string distanceText = std::to_string(distance);
    if (czech) {
        return {"Kmitočet fotonu: " + caption + ", Detektor-Clona: " + distanceText,
                "Výška detektoru (twipy)",
                "Pravděpodobnost (čtverec délky součtu)",
                "součet 2003 šipek",
                "spojitá štěrbina",
                "\u00A0",  // a no-break space, as Czech groups thousands
                ","};
    }
    return {"Photon frequency: " + caption + ", detector to slit: " + distanceText,
            "Detector height (twips)",
            "Probability (squared length of the sum)",
            "sum of 2003 arrows",
            "continuous slit",
            ",",
            "."};
}

}  // namespace kvelmor
