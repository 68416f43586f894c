#pragma once

#include <QList>
#include <QString>

struct VolumeInfo;

// Which volume carrying a label is the instrument's, from one list of mounted volumes. Pure.
//
// A volume counts when it is valid, ready, carries exactly the label (case-sensitive) and
// has a root path. It is the instrument's own when the USB device behind it has the
// instrument's identity (or, on a system that cannot tell the device, by the label alone).
// Any other volume with the label is a stranger: a drive of the user's that is never
// written to, cleaned, opened or ejected.
class VolumeChoice
{
public:
    enum class Kind {
        Own,      // exactly one of the instrument's volumes, writable: rootPath
        None,     // no volume with the label
        ReadOnly, // the instrument's one volume is read-only
        Stranger, // only volumes that are not the instrument's carry the label
        Several,  // more than one of the instrument's volumes carry the label: none is used
    };

    static VolumeChoice among(const QList<VolumeInfo>& volumes, const QString& label);

    Kind kind() const { return which; }
    // The instrument's volume; empty unless kind() is Own.
    QString rootPath() const { return root; }
    QString label() const { return wanted; }
    // How many strangers carry the label (left alone whatever the kind).
    int strangers() const { return strangerCount; }
    // Why no volume is used, in plain words for the window and tavlo: the sentences of a
    // stranger and of several volumes; empty for the other kinds, whose texts the callers
    // choose themselves.
    QString refusal() const;

private:
    Kind which = Kind::None;
    QString root;
    QString wanted;
    int strangerCount = 0;
};
