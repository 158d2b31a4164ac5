// The diver: one figure in a brass helmet, posed and given a mood.
#pragma once

#include "raster.h"

enum DiverEyes { EYES_OPEN, EYES_HAPPY, EYES_WIDE, EYES_SAD, EYES_SHUT };

struct DiverPose {
    double arm_l[2], arm_r[2];  // shoulder angle from hanging (deg, outward), elbow bend (deg, same sense)
    double leg_l[2], leg_r[2];  // hip angle from hanging (deg, outward), knee bend (deg, inward)
    double lift_l, lift_r;      // 0..1: leg raised toward the viewer (foreshortened)
    double mouth;               // -1 frown .. +1 smile
    double mouth_open;          // 0..1
    double brows;               // -1 cross .. +1 worried
    int eyes;
    int tears;                  // 0 none, 1 or 2: position of the drops
    double lamp;                // 0..1
    double blush;               // 0..1
    bool arms_front;            // hands before the helmet
};

// Helmet centre at local (cx, cy) of the current frame, k pixels per unit.
// The figure spans about -24..120 units vertically and -27..27 with arms down.
void draw_diver(Canvas *c, double cx, double cy, double k, const DiverPose *pose);
