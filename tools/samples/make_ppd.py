#!/usr/bin/env python3
"""Writes samples/zdcp95.ppd, the demo model's PPD (run from the repo root).

The PPD is generated so that every feature the plug-in knows stays listed in
one place; the file itself is committed.
"""

UI = [
    # (keyword, translation, group, [(option, translation)], default)
    ("PageSize", "Paper Size", "General", [
        ("A4", "A4"), ("Letter", "Letter"), ("B5", "B5"), ("A3", "A3"), ("B4", "B4"),
        ("Legal", "Legal"), ("Executive", "Executive"), ("Tabloid", "Tabloid"),
        ("FanFoldGermanLegal", "FanFold German Legal"), ("ZDLegal", "Legal 13"),
        ("A5", "A5"), ("a4", "a4")], "A4"),
    ("Duplex", "2-Sided Printing", "General", [
        ("None", "Off"), ("DuplexNoTumble", "Long Edge"), ("DuplexTumble", "Short Edge")], "None"),
    # Option 0 is the high quality, as on the Job Options page.
    ("Resolution", "Resolution", "General", [("1200dpi", "1200 x 1200 dpi"), ("600dpi", "600 x 600 dpi")], "600dpi"),
    ("ColorModel", "Color Mode", "General", [("CMYK", "Color"), ("Gray", "Grayscale")], "CMYK"),
    # 1 is not offered with a finisher, 2 and 3 only with one.
    ("OutputBin", "Output Bin", "General", [
        ("FaceDown", "Face Down Tray"), ("FaceUp", "Face Up Tray"),
        ("Finisher1", "Finisher Tray 1"), ("Finisher2", "Finisher Tray 2")], "FaceDown"),
    # Selection 1 is toner save.
    ("ZDOutputMode", "Toner Save", "ZedJob", [("Normal", "Off"), ("TonerSave", "On")], "Normal"),
    ("ZDCollate", "Collate", "ZedJob", [("False", "Off"), ("True", "On")], "True"),
    ("ZDStaple", "Staple", "ZedJob", [
        ("None", "Off"), ("OneStaple", "1 Staple"), ("TwoStaples", "2 Staples")], "None"),
    ("ZDPunch", "Punch", "ZedJob", [("None", "Off"), ("TwoHoles", "2 Holes"), ("ThreeHoles", "3 Holes"), ("FourHoles", "4 Holes")], "None"),
    # 0/1 and 2/3 are the two edge pairs, 4 the centre (booklet).
    ("ZDBindPosition", "Binding Position", "ZedJob", [
        ("Left", "Left"), ("Right", "Right"), ("Top", "Top"), ("Bottom", "Bottom"), ("Center", "Center")], "Top"),
    ("ZDMediaType", "Media Type", "ZedPaper", [
        ("Plain", "Plain Paper"), ("Thick", "Thick Paper"), ("Transparency", "Transparency"), ("Envelope", "Envelope")], "Plain"),
    ("ZDManualFeed", "Manual Feed", "ZedPaper", [("False", "Off"), ("True", "On")], "False"),
    ("TraySwitch", "Tray Switch", "ZedPaper", [("True", "On"), ("False", "Off")], "True"),
    ("ZDPageSizeCheck", "Paper Size Check", "ZedPaper", [("True", "On"), ("False", "Off")], "True"),
    ("ZDEnvRotate", "Rotate Envelopes", "ZedPaper", [("False", "Off"), ("True", "On")], "False"),
    ("ZDHDDSpool", "Spool to Hard Disk", "ZedJob", [("False", "Off"), ("True", "On")], "False"),
    ("ZDDrumClean", "Drum Cleaning", "ZedJob", [("False", "Off"), ("True", "On")], "False"),
    ("ZDJob_Type", "Job Type", "ZedJob", [("Normal", "Normal"), ("Proof", "Proof"), ("Secure", "Secure"), ("Store", "Store")], "Normal"),
    ("ZDOverlay", "Overlay", "ZedJob", [("Off", "Off"), ("Print", "Print Overlay"), ("Register", "Register Overlay")], "Off"),
    # The five colour modes of the Color page, in its order.
    ("ZDControl", "Color Control", "ZedColor", [
        ("Auto", "Automatic"), ("Office", "Office Color"), ("Photo", "Advanced Photo"),
        ("NoMatching", "No Color Matching"), ("Gray", "Grayscale")], "Auto"),
    ("ZDSeparationorder", "Separation Order", "ZedColor", [("YMCK", "YMCK"), ("KCMY", "KCMY")], "YMCK"),
    ("ZDOverPrint", "Overprint", "ZedColor", [("False", "Off"), ("True", "On")], "False"),
    ("ZDProcessMode", "Process Mode", "ZedColor", [("Normal", "Normal"), ("Enhanced", "Enhanced")], "Normal"),
    ("ZDBlackSubstitution", "Black Substitution", "ZedColor", [
        ("Auto", "Automatic"), ("Composite", "Composite Black"), ("Pure", "Pure Black")], "Auto"),
    ("ZDHalftoneMode", "Halftone Mode", "ZedColor", [("Printer", "Printer"), ("Host", "Host")], "Printer"),
    ("ZDAlwaysPrnHT", "Always Print Halftone", "ZedColor", [("True", "On"), ("False", "Off")], "False"),
    ("ZDColorRenderStyle", "Rendering Style", "ZedColor", [
        ("Perceptual", "Perceptual"), ("Saturation", "Saturation"), ("Colorimetric", "Colorimetric")], "Perceptual"),
    ("ZDColorRenderDict", "Rendering Dictionary", "ZedColor", [("Standard", "Standard"), ("Vivid", "Vivid")], "Standard"),
    ("ZDTargetColor", "Target Color", "ZedColor", [("Standard", "Standard"), ("SWOP", "SWOP"), ("Euroscale", "Euroscale")], "Standard"),
    ("ZDTone", "Tone", "ZedColor", [("Normal", "Normal"), ("Light", "Light"), ("Dark", "Dark")], "Normal"),
    # Check boxes of the Advanced and Others dialogs that mean "on" at 0.
    ("ZDHairLine", "Fine Lines", "ZedColor", [("True", "On"), ("False", "Off")], "True"),
    ("ZDBlackSubGra", "Black for Gray", "ZedColor", [("False", "Off"), ("True", "On")], "False"),
    ("ZDColorICMS", "Color Matching", "ZedColor", [
        ("ICC", "ICC Profile Matching"), ("Emulation", "Printer Emulation"),
        ("Create", "Creating Profiles"), ("Application", "By the Application")], "ICC"),
    ("ZDCMYKProfile", "CMYK Profile", "ZedColor", [("Input", "CMYK Input Profile"), ("Link", "CMYK Link Profile")], "Input"),
    ("ZDRGBProfile", "RGB Profile", "ZedColor", [("sRGB", "sRGB"), ("AdobeRGB", "Adobe RGB")], "sRGB"),
    ("ZDCMYKInputProfile", "CMYK Input Profile", "ZedColor", [("Off", "Off"), ("SWOP", "SWOP"), ("Euroscale", "Euroscale")], "Off"),
    ("ZDCMYKLinkProfile", "CMYK Link Profile", "ZedColor", [("Off", "Off"), ("On", "On")], "Off"),
    ("ZDOutProfile", "Output Profile", "ZedColor", [("Normal", "Normal"), ("Photo", "Photo")], "Normal"),
    ("ZDSimProfile", "Simulation Profile", "ZedColor", [("Off", "Off"), ("SWOP", "SWOP"), ("JapanColor", "Japan Color")], "Off"),
    ("ZDPureBlack", "Pure Black", "ZedColor", [("True", "On"), ("False", "Off")], "True"),
    ("ZDPreserveBlack", "Preserve Black", "ZedColor", [("True", "On"), ("False", "Off")], "False"),
    ("ZDColorMatch", "Color Match Precision", "ZedColor", [("Fast", "Fast"), ("Normal", "Normal"), ("Best", "Best")], "Best"),
    ("ZDResolution", "Print Quality", "ZedQuality", [("1200dpi", "High Quality (1200x1200)"), ("600dpi", "Normal (600x600)")], "600dpi"),
    ("ZDImageSmoothing", "Image Smoothing", "ZedQuality", [("False", "Off"), ("True", "On")], "False"),
    ("ZDTrapping", "Trapping", "ZedQuality", [("False", "Off"), ("True", "On")], "False"),
    ("ZDScreenObo", "Optimized Gray Graphics", "ZedQuality", [("True", "On"), ("False", "Off")], "False"),
]

INSTALLABLE = [
    ("InstalledMemory", "Printer Memory", [("256MB", "256 MB"), ("384MB", "384 MB"), ("512MB", "512 MB"), ("768MB", "768 MB"), ("1024MB", "1024 MB")], "256MB"),
    # Detection selects option 0 for an installed disk or duplex unit and
    # option 1 for an installed finisher, feeder or punch unit.
    ("ZDHDD", "Hard Disk", [("True", "Installed"), ("False", "Not Installed")], "False"),
    ("ZDOptionDuplex", "Duplex Unit", [("True", "Installed"), ("False", "Not Installed")], "False"),
    ("ZDOptionTray", "Optional Trays", [("0", "None"), ("1", "1 Tray"), ("2", "2 Trays"), ("3", "3 Trays"), ("4", "4 Trays")], "0"),
    ("ZDFinisher", "Finisher", [("False", "Not Installed"), ("True", "Installed")], "False"),
    ("ZDOptionMPF", "Multi-Purpose Feeder", [("False", "Not Installed"), ("True", "Installed")], "False"),
    ("ZDPunchUnit", "Punch Unit", [("None", "Not Installed"), ("Type1", "Type 1"), ("Type2", "Type 2"),
                                   ("Type3", "Type 3"), ("Type4", "Type 4")], "None"),
]

PAGE_DIMENSIONS = {
    "A4": (595, 842), "Letter": (612, 792), "B5": (516, 729), "A3": (842, 1191), "B4": (729, 1032),
    "Legal": (612, 1008), "Executive": (522, 756), "Tabloid": (792, 1224),
    "FanFoldGermanLegal": (612, 936), "ZDLegal": (612, 936), "A5": (420, 595), "a4": (595, 842),
}


def main():
    out = []
    w = out.append
    w("*PPD-Adobe: \"4.3\"")
    w("*%% Zed CP9500 PS demo model, generated by tools/samples/make_ppd.py")
    w("*FormatVersion: \"4.3\"")
    w("*FileVersion: \"3.2.105\"")
    w("*LanguageVersion: English")
    w("*LanguageEncoding: ISOLatin1")
    w("*PCFileName: \"ZDCP95.PPD\"")
    w("*Manufacturer: \"Zed\"")
    w("*Product: \"(Zed CP9500)\"")
    w("*ModelName: \"Zed CP9500 PS\"")
    w("*ShortNickName: \"Zed CP9500 PS\"")
    w("*NickName: \"Zed CP9500 PS\"")
    w("*Copyright Copyright (C) 2026 Zed Printing Systems. All rights reserved.")
    w("*PSVersion: \"(3017.102) 1\"")
    w("*ColorDevice: True")
    w("*DefaultColorSpace: CMYK")
    w("")
    w("*OpenGroup: InstallableOptions/Options Installed")
    for key, trans, options, default in INSTALLABLE:
        w(f"*OpenUI *{key}/{trans}: PickOne")
        w(f"*Default{key}: {default}")
        for opt, otrans in options:
            w(f"*{key} {opt}/{otrans}: \"\"")
        w(f"*CloseUI: *{key}")
    w("*CloseGroup: InstallableOptions")
    w("")
    for key, trans, group, options, default in UI:
        w(f"*OpenUI *{key}/{trans}: PickOne")
        w(f"*OrderDependency: 50 AnySetup *{key}")
        w(f"*Default{key}: {default}")
        for opt, otrans in options:
            if key == "PageSize":
                wd, ht = PAGE_DIMENSIONS[opt]
                w(f"*{key} {opt}/{otrans}: \"<</PageSize [{wd} {ht}] /ImagingBBox null>> setpagedevice\"")
            else:
                w(f"*{key} {opt}/{otrans}: \"<</{key} ({opt})>> setpagedevice\"")
        w(f"*CloseUI: *{key}")
        w("")
    w("*% Paper dimensions")
    for opt, (wd, ht) in PAGE_DIMENSIONS.items():
        w(f"*PaperDimension {opt}: \"{wd} {ht}\"")
    w("*% End of the demo PPD")
    with open("samples/zdcp95.ppd", "w", newline="\r\n") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
