.pragma library

// Compares two dotted versions part by part as integers; a missing part counts as 0
// and a part without leading digits compares equal. Returns -1, 0 or 1.
function compare(a, b) {
    var partsA = String(a).split(".")
    var partsB = String(b).split(".")
    var count = Math.max(partsA.length, partsB.length)
    for (var i = 0; i < count; ++i) {
        var numberA = i < partsA.length ? parseInt(partsA[i], 10) : 0
        var numberB = i < partsB.length ? parseInt(partsB[i], 10) : 0
        if (numberA < numberB)
            return -1
        if (numberA > numberB)
            return 1
    }
    return 0
}

// True when a version is known and not older than the minimum.
function atLeast(version, minimum) {
    return version !== "" && compare(version, minimum) >= 0
}

// Progress arrives as whole percent; anything outside 0..100 is clamped, and what is not
// a number counts as 0.
function clampedPercentage(value) {
    var number = Number(value)
    if (isNaN(number))
        number = 0
    return Math.max(0, Math.min(100, number))
}
