import QtQuick
import Orvane.Face
import Orvane.Panels

// The sky map as the face's sheet, for the face's place and minute.
PlanetariumView {
    required property ClockFaceController face

    url: face.planetariumUrl
    onDone: face.showPlanetarium = false
}
