#!/usr/bin/env python3
"""Writes the eighteen skins (resources/skins/*.ssk) from their palettes.

Every skin is the same set of rules over its own colours and shape, so that each one styles every
control Velmora shows, with the disabled and the focus state. Edit a palette here and run the script;
it refuses a palette whose text would be hard to read (contrast below 4.5:1).
"""
import pathlib
import sys

TEMPLATE = """\
/* {skinName} - a Velmora skin. {note}
   Written by scripts/generate-skins.py; edit the palette there. */

QWidget {{ background-color: {window}; color: {text}; selection-background-color: {accent}; selection-color: {accentText}; }}
QMainWindow, QDialog, QMessageBox, QFileDialog {{ background-color: {window}; color: {text}; }}
QLabel {{ background-color: transparent; color: {text}; }}
QLabel:disabled {{ background-color: transparent; color: {disabledText}; }}

QMenuBar {{ background: {bar}; color: {barText}; border-bottom: 1px solid {frame}; }}
QMenuBar::item {{ background-color: transparent; color: {barText}; padding: 2px 7px; }}
QMenuBar::item:selected, QMenuBar::item:pressed {{ background-color: {accent}; color: {accentText}; border-radius: {radius}px; }}
QMenu {{ background-color: {menu}; color: {menuText}; border: 1px solid {frame}; padding: 2px; }}
QMenu::item {{ background-color: transparent; color: {menuText}; padding: 3px 22px 3px 14px; }}
QMenu::item:selected {{ background-color: {accent}; color: {accentText}; border-radius: {radius}px; }}
QMenu::item:disabled {{ background-color: transparent; color: {menuDisabled}; }}
QMenu::separator {{ height: 1px; background: {frame}; margin: 3px 6px; }}

QGroupBox {{ background-color: transparent; color: {title}; border: {frameWidth}px solid {frame}; border-radius: {radius}px; }}
QGroupBox::title {{ background-color: {window}; color: {title}; }}
QGroupBox:disabled {{ background-color: transparent; color: {disabledText}; }}

QPushButton {{ background: {buttonFill}; color: {buttonText}; border: 1px solid {buttonFrame}; border-radius: {radius}px; }}
QPushButton:hover {{ background: {buttonHover}; color: {buttonText}; }}
QPushButton:pressed {{ background: {buttonPressed}; color: {buttonText}; }}
QPushButton:default {{ border-color: {accentFrame}; }}
QPushButton:focus {{ border: 1px solid {focus}; }}
QPushButton:disabled {{ background: {disabledFill}; color: {disabledText}; border-color: {disabledFrame}; }}

QComboBox {{ background: {comboFill}; color: {baseText}; border: 1px solid {frame}; border-radius: {radius}px; }}
QComboBox:hover {{ border-color: {accentFrame}; }}
QComboBox:focus {{ border-color: {focus}; }}
QComboBox:disabled {{ background: {disabledFill}; color: {disabledText}; border-color: {disabledFrame}; }}
QComboBox::drop-down {{ subcontrol-origin: border; subcontrol-position: center right; width: 12px; border-left: 1px solid {frame}; background: {buttonFill}; }}
QComboBox::down-arrow {{ image: url(:/velmora/skins/arrow-down-{arrow}.png); width: 9px; height: 5px; }}
QComboBox::down-arrow:disabled {{ image: url(:/velmora/skins/arrow-down-grey.png); }}
QComboBox QAbstractItemView {{ background-color: {base}; color: {baseText}; border: 1px solid {frame}; selection-background-color: {accent}; selection-color: {accentText}; outline: 0px; }}

QLineEdit, QTextEdit, QPlainTextEdit, QSpinBox {{ background-color: {base}; color: {baseText}; border: 1px solid {frame}; border-radius: {inputRadius}px; selection-background-color: {accent}; selection-color: {accentText}; }}
QLineEdit:read-only {{ background-color: {readOnly}; color: {baseText}; }}
QLineEdit:focus, QTextEdit:focus, QPlainTextEdit:focus, QSpinBox:focus {{ border-color: {focus}; }}
QLineEdit:disabled, QTextEdit:disabled, QPlainTextEdit:disabled, QSpinBox:disabled {{ background-color: {disabledBase}; color: {disabledText}; border-color: {disabledFrame}; }}

QCheckBox, QRadioButton {{ background-color: transparent; color: {text}; spacing: 5px; }}
QCheckBox:focus, QRadioButton:focus {{ background-color: {focusTint}; color: {text}; }}
QCheckBox:disabled, QRadioButton:disabled {{ background-color: transparent; color: {disabledText}; }}
QCheckBox::indicator, QRadioButton::indicator {{ width: 11px; height: 11px; border: 1px solid {frame}; background-color: {base}; border-radius: {checkRadius}px; }}
QCheckBox::indicator:hover, QRadioButton::indicator:hover {{ border-color: {focus}; }}
QCheckBox::indicator:checked, QRadioButton::indicator:checked {{ background-color: {accent}; border: 1px solid {accentFrame}; }}
QCheckBox::indicator:disabled, QRadioButton::indicator:disabled {{ background-color: {disabledBase}; border-color: {disabledFrame}; }}
QCheckBox::indicator:checked {{ image: url(:/velmora/skins/check-{tick}.png); }}
QCheckBox::indicator:checked:disabled {{ image: url(:/velmora/skins/check-grey.png); }}
QRadioButton::indicator {{ width: 10px; height: 10px; border-radius: 6px; }}
QRadioButton::indicator:checked {{ background-color: {radioDot}; }}
QRadioButton::indicator:checked:disabled {{ background-color: {radioDotDisabled}; }}

QProgressBar {{ background-color: {base}; color: {baseText}; border: 1px solid {frame}; border-radius: {radius}px; text-align: center; }}
QProgressBar::chunk {{ background: {progress}; border-radius: {radius}px; }}
QProgressBar:disabled {{ background-color: {disabledBase}; color: {disabledText}; border-color: {disabledFrame}; }}

QAbstractItemView, QTableView, QTreeView, QListView {{ background-color: {base}; alternate-background-color: {alternate}; color: {baseText}; border: 1px solid {frame}; gridline-color: {grid}; selection-background-color: {accent}; selection-color: {accentText}; }}
QAbstractItemView:focus {{ border-color: {focus}; }}
QAbstractItemView:disabled {{ background-color: {disabledBase}; color: {disabledText}; }}
QHeaderView {{ background-color: {header}; color: {headerText}; }}
QHeaderView::section {{ background: {headerFill}; color: {headerText}; border: 0px; border-right: 1px solid {frame}; border-bottom: 1px solid {frame}; padding: 0px 4px; }}
QHeaderView::section:disabled {{ background: {disabledFill}; color: {disabledText}; }}
QTableCornerButton::section {{ background: {headerFill}; border: 0px; }}

QScrollBar:vertical {{ background: {trough}; width: 14px; margin: 0px; border: 0px; }}
QScrollBar:horizontal {{ background: {trough}; height: 14px; margin: 0px; border: 0px; }}
QScrollBar::handle {{ background: {handle}; border: 1px solid {frame}; border-radius: {handleRadius}px; margin: 2px; }}
QScrollBar::handle:vertical {{ min-height: 20px; }}
QScrollBar::handle:horizontal {{ min-width: 20px; }}
QScrollBar::handle:hover {{ background: {accent}; }}
QScrollBar::add-line, QScrollBar::sub-line {{ width: 0px; height: 0px; border: 0px; background: none; }}
QScrollBar::add-page, QScrollBar::sub-page {{ background: none; }}

QToolButton {{ background-color: transparent; color: {text}; border: 1px solid transparent; border-radius: {radius}px; padding: 2px; }}
QToolButton:hover {{ background: {buttonHover}; color: {buttonText}; border-color: {buttonFrame}; }}
QToolButton:focus {{ border-color: {focus}; }}
QToolButton:disabled {{ background-color: transparent; color: {disabledText}; }}
QToolTip {{ background-color: {tip}; color: {tipText}; border: 1px solid {frame}; padding: 2px; }}
QSplitter::handle {{ background-color: {frame}; }}
"""


def hex_to_rgb(colour):
    colour = colour.lstrip("#")
    return tuple(int(colour[i:i + 2], 16) / 255 for i in (0, 2, 4))


def luminance(colour):
    def channel(c):
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(c) for c in hex_to_rgb(colour))
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def gradient(top, bottom):
    return f"qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 {top}, stop:1 {bottom})"


def fill(palette, top, bottom):
    return gradient(top, bottom) if palette["glossy"] else top


# Each skin: its colours and its shape (corner radius, frame width, glossy gradients or flat).
SKINS = {
    "Calmness": dict(note="Quiet blue-grey, flat, soft corners.", glossy=False, radius=3, frameWidth=1,
                     window="#e4e9ee", text="#1f2a36", base="#f7f9fb", baseText="#1f2a36", bar="#cdd6df",
                     barText="#1f2a36", menu="#f2f5f8", menuText="#1f2a36", accent="#4a6a88", accentText="#ffffff",
                     frame="#8e9caa", button="#d5dde5", buttonBottom="#c3cdd8", buttonText="#1f2a36", focus="#2d5b87",
                     title="#2d4a66", header="#d5dde5", headerText="#1f2a36", progress="#6d8fb0", tip="#fdfde8",
                     tipText="#1f2a36", alternate="#edf1f5"),
    "DiamondBlue": dict(note="Bright glossy blue, rounded.", glossy=True, radius=4, frameWidth=1,
                        window="#d9e6f6", text="#0c2340", base="#ffffff", baseText="#0c2340", bar="#a9c6ec",
                        barText="#0c2340", menu="#f3f8fe", menuText="#0c2340", accent="#1d5bbf", accentText="#ffffff",
                        frame="#6f93c6", button="#ffffff", buttonBottom="#a9c6ec", buttonText="#0c2340", focus="#0b48a8",
                        title="#0f3f8c", header="#c6daf4", headerText="#0c2340", progress="#3a7de0", tip="#ffffff",
                        tipText="#0c2340", alternate="#eef4fc"),
    "DiamondGreen": dict(note="Bright glossy green, rounded.", glossy=True, radius=4, frameWidth=1,
                         window="#dcefdc", text="#10301a", base="#ffffff", baseText="#10301a", bar="#a8d8a9",
                         barText="#10301a", menu="#f3fbf3", menuText="#10301a", accent="#2b7a35", accentText="#ffffff",
                         frame="#71ad76", button="#ffffff", buttonBottom="#a8d8a9", buttonText="#10301a", focus="#1d6527",
                         title="#1f5e29", header="#c4e5c5", headerText="#10301a", progress="#46a352", tip="#ffffff",
                         tipText="#10301a", alternate="#eef8ee"),
    "GlassGreen": dict(note="Sea-glass teal, glossy, very round.", glossy=True, radius=7, frameWidth=1,
                       window="#d6efe9", text="#0d2e2a", base="#f4fbf9", baseText="#0d2e2a", bar="#9fd6ca",
                       barText="#0d2e2a", menu="#ecf8f5", menuText="#0d2e2a", accent="#00695c", accentText="#ffffff",
                       frame="#5fa99b", button="#f4fbf9", buttonBottom="#8fcfc1", buttonText="#0d2e2a", focus="#004d43",
                       title="#00574c", header="#b5e2d8", headerText="#0d2e2a", progress="#26a69a", tip="#f4fbf9",
                       tipText="#0d2e2a", alternate="#e4f4f0"),
    "Longhorn": dict(note="Dark slate with sky-blue light, glossy.", glossy=True, radius=3, frameWidth=1,
                     window="#2a323d", text="#eef2f6", base="#1c222a", baseText="#eef2f6", bar="#1f2730",
                     barText="#eef2f6", menu="#252d37", menuText="#eef2f6", accent="#6cb4f0", accentText="#0a1622",
                     frame="#5b6b7d", button="#4b5a6c", buttonBottom="#343f4c", buttonText="#f4f7fa", focus="#9fd0ff",
                     title="#a9d4fb", header="#3a4655", headerText="#eef2f6", progress="#4f9fe6", tip="#1c222a",
                     tipText="#eef2f6", alternate="#232a33"),
    "MacOS": dict(note="Aqua: light grey with blue pills, very round.", glossy=True, radius=9, frameWidth=1,
                  window="#ececec", text="#1d1d1f", base="#ffffff", baseText="#1d1d1f", bar="#f6f6f6",
                  barText="#1d1d1f", menu="#f9f9f9", menuText="#1d1d1f", accent="#2f6fd0", accentText="#ffffff",
                  frame="#a6a6a6", button="#ffffff", buttonBottom="#dcdcdc", buttonText="#1d1d1f", focus="#2f6fd0",
                  title="#1d1d1f", header="#f2f2f2", headerText="#1d1d1f", progress="#4f8fe8", tip="#ffffe0",
                  tipText="#1d1d1f", alternate="#f3f6fa"),
    "MP10": dict(note="Media player: near-black with electric blue, glossy.", glossy=True, radius=5, frameWidth=1,
                 window="#181c26", text="#e6ecf5", base="#0f1218", baseText="#e6ecf5", bar="#0f1218",
                 barText="#e6ecf5", menu="#1f2431", menuText="#e6ecf5", accent="#3f8efc", accentText="#06101f",
                 frame="#3a4560", button="#38435c", buttonBottom="#20263a", buttonText="#eef3fb", focus="#7fb4ff",
                 title="#8fbcff", header="#262d3e", headerText="#e6ecf5", progress="#3f8efc", tip="#0f1218",
                 tipText="#e6ecf5", alternate="#151922"),
    "MSN": dict(note="Messenger: airy blue with green accents, flat.", glossy=False, radius=2, frameWidth=1,
                window="#eaf3fb", text="#17324f", base="#ffffff", baseText="#17324f", bar="#c8def3",
                barText="#17324f", menu="#ffffff", menuText="#17324f", accent="#2f7d32", accentText="#ffffff",
                frame="#8fb2d4", button="#d8e8f7", buttonBottom="#d8e8f7", buttonText="#17324f", focus="#2f7d32",
                title="#1e5c99", header="#dbe9f7", headerText="#17324f", progress="#5cb85c", tip="#ffffff",
                tipText="#17324f", alternate="#f3f8fd"),
    "OneBlue": dict(note="One deep blue for bars and panels, square.", glossy=False, radius=0, frameWidth=2,
                    window="#cfdff2", text="#0b1f3a", base="#f5f9fe", baseText="#0b1f3a", bar="#1c4a86",
                    barText="#ffffff", menu="#e6eef9", menuText="#0b1f3a", accent="#1c4a86", accentText="#ffffff",
                    frame="#1c4a86", button="#1c4a86", buttonBottom="#1c4a86", buttonText="#ffffff", focus="#e08a00",
                    title="#133a6b", header="#1c4a86", headerText="#ffffff", progress="#1c4a86", tip="#f5f9fe",
                    tipText="#0b1f3a", alternate="#e9f0fa"),
    "Silver": dict(note="Neutral silver, gently glossy.", glossy=True, radius=3, frameWidth=1,
                   window="#e3e3e3", text="#1b1b1b", base="#ffffff", baseText="#1b1b1b", bar="#f0f0f0",
                   barText="#1b1b1b", menu="#f7f7f7", menuText="#1b1b1b", accent="#4d5f7a", accentText="#ffffff",
                   frame="#9a9a9a", button="#fafafa", buttonBottom="#d2d2d2", buttonText="#1b1b1b", focus="#3a5a8c",
                   title="#2e2e2e", header="#ececec", headerText="#1b1b1b", progress="#7d8ea8", tip="#ffffe1",
                   tipText="#1b1b1b", alternate="#f4f4f4"),
    "SportsBlack": dict(note="Black with racing orange, square.", glossy=False, radius=0, frameWidth=1,
                        window="#141414", text="#f2f2f2", base="#0a0a0a", baseText="#f2f2f2", bar="#000000",
                        barText="#f2f2f2", menu="#1c1c1c", menuText="#f2f2f2", accent="#ff8a00", accentText="#000000",
                        frame="#555555", button="#2a2a2a", buttonBottom="#2a2a2a", buttonText="#f2f2f2", focus="#ff8a00",
                        title="#ffa733", header="#262626", headerText="#f2f2f2", progress="#ff8a00", tip="#262626",
                        tipText="#f2f2f2", alternate="#161616"),
    "SportsBlue": dict(note="Navy with cyan stripes, glossy.", glossy=True, radius=2, frameWidth=1,
                       window="#0f2a4a", text="#eaf2ff", base="#0a1d33", baseText="#eaf2ff", bar="#081a2e",
                       barText="#eaf2ff", menu="#12304f", menuText="#eaf2ff", accent="#29b6f6", accentText="#00131f",
                       frame="#2f5d8a", button="#245486", buttonBottom="#163a61", buttonText="#f2f7ff", focus="#7fd6ff",
                       title="#6fd0ff", header="#18406a", headerText="#eaf2ff", progress="#29b6f6", tip="#0a1d33",
                       tipText="#eaf2ff", alternate="#0d243e"),
    "Midsummer": dict(note="Sunny cream with orange, glossy.", glossy=True, radius=5, frameWidth=1,
                      window="#fbf3d5", text="#3a2c00", base="#fffdf3", baseText="#3a2c00", bar="#f6df8c",
                      barText="#3a2c00", menu="#fffbe8", menuText="#3a2c00", accent="#b35300", accentText="#ffffff",
                      frame="#c9a94a", button="#fffbe8", buttonBottom="#f3d978", buttonText="#3a2c00", focus="#a64b00",
                      title="#8a4200", header="#f8e7a6", headerText="#3a2c00", progress="#f39c12", tip="#fffdf3",
                      tipText="#3a2c00", alternate="#fcf6dd"),
    "Emerald": dict(note="Deep emerald night with mint, glossy.", glossy=True, radius=4, frameWidth=1,
                    window="#0f3d2e", text="#eafff4", base="#0a2c21", baseText="#eafff4", bar="#0a2c21",
                    barText="#eafff4", menu="#13493a", menuText="#eafff4", accent="#34d399", accentText="#052016",
                    frame="#2f7a5f", button="#1d6b51", buttonBottom="#124735", buttonText="#f0fff7", focus="#8ff0c6",
                    title="#7fe8bb", header="#155a45", headerText="#eafff4", progress="#34d399", tip="#0a2c21",
                    tipText="#eafff4", alternate="#0d3428"),
    "Warm": dict(note="Cream and chestnut, flat, soft corners.", glossy=False, radius=4, frameWidth=1,
                 window="#f3e6d6", text="#3b2616", base="#fffaf3", baseText="#3b2616", bar="#e4cdb2",
                 barText="#3b2616", menu="#fbf3e9", menuText="#3b2616", accent="#9a4a24", accentText="#ffffff",
                 frame="#b8946f", button="#ead6bf", buttonBottom="#ead6bf", buttonText="#3b2616", focus="#8a3c16",
                 title="#7a3a18", header="#ead6bf", headerText="#3b2616", progress="#c86b3c", tip="#fffaf3",
                 tipText="#3b2616", alternate="#f9efe3"),
    "XPBlue": dict(note="Luna blue: beige panels, blue bars, glossy.", glossy=True, radius=3, frameWidth=1,
                   window="#ece9d8", text="#000000", base="#ffffff", baseText="#000000", bar="#245edb",
                   barText="#ffffff", menu="#ffffff", menuText="#000000", accent="#316ac5", accentText="#ffffff",
                   frame="#7f9db9", button="#ffffff", buttonBottom="#d6d0c4", buttonText="#000000", focus="#003c74",
                   title="#0046d5", header="#ebeadb", headerText="#000000", progress="#37c23c", tip="#ffffe1",
                   tipText="#000000", alternate="#f7f6ef"),
    "XPGreen": dict(note="Luna olive: khaki panels, olive bars, glossy.", glossy=True, radius=3, frameWidth=1,
                    window="#eeeed8", text="#1e2410", base="#ffffff", baseText="#1e2410", bar="#6b7d3a",
                    barText="#ffffff", menu="#fbfbf2", menuText="#1e2410", accent="#5a6b2e", accentText="#ffffff",
                    frame="#a3ae7a", button="#fbfbf2", buttonBottom="#d8dbb5", buttonText="#1e2410", focus="#3f4d17",
                    title="#4a5a1e", header="#e4e6c8", headerText="#1e2410", progress="#8fa84a", tip="#ffffe1",
                    tipText="#1e2410", alternate="#f6f6ea"),
    "XPSilver": dict(note="Luna silver: cool grey with violet-grey bars, glossy.", glossy=True, radius=3,
                     frameWidth=1, window="#e0dfe6", text="#15151c", base="#ffffff", baseText="#15151c",
                     bar="#9c9cb4", barText="#101018", menu="#fafafd", menuText="#15151c", accent="#5b5d7a",
                     accentText="#ffffff", frame="#a5a5b8", button="#ffffff", buttonBottom="#cfd0dc",
                     buttonText="#15151c", focus="#3d3f66", title="#3d3f66", header="#ebebf2", headerText="#15151c",
                     progress="#8a8cb0", tip="#ffffe1", tipText="#15151c", alternate="#f3f3f8"),
}


def mix(a, b, share):
    ra, rb = hex_to_rgb(a), hex_to_rgb(b)
    return "#" + "".join(f"{round((x * (1 - share) + y * share) * 255):02x}" for x, y in zip(ra, rb))


def readable_grey(background, towards):
    """The palest mix of the text colour into the background that still reads at 4.6:1."""
    for step in range(0, 101):
        colour = mix(background, towards, step / 100)
        if contrast(colour, background) >= 4.6:
            return colour
    return towards


def expand(name, palette):
    values = dict(palette)
    values["disabledBase"] = mix(values["base"], values["window"], 0.5)
    values["disabledFill"] = mix(values["window"], values["base"], 0.3)
    values["disabledText"] = readable_grey(values["disabledFill"], values["text"])
    # Disabled text must read on each of the backgrounds it appears on.
    for background in (values["window"], values["disabledBase"]):
        while contrast(values["disabledText"], background) < 4.6:
            values["disabledText"] = mix(values["disabledText"], values["text"], 0.1)
    values["menuDisabled"] = readable_grey(values["menu"], values["menuText"])
    values["disabledFrame"] = mix(values["frame"], values["window"], 0.5)
    values["accentFrame"] = mix(values["accent"], values["text"], 0.25)
    values["buttonFrame"] = mix(values["frame"], values["text"], 0.2)
    values["buttonFill"] = fill(values, values["button"], values["buttonBottom"])
    values["buttonHover"] = fill(values, mix(values["button"], values["accent"], 0.12),
                                 mix(values["buttonBottom"], values["accent"], 0.12))
    values["buttonPressed"] = fill(values, values["buttonBottom"], values["button"])
    values["comboFill"] = fill(values, values["base"], mix(values["base"], values["window"], 0.6))
    # Clearly unlike a field that takes typing.
    values["readOnly"] = mix(values["base"], values["window"], 0.75)
    values["headerFill"] = fill(values, values["header"], mix(values["header"], values["frame"], 0.25))
    values["progress"] = fill(values, mix(values["progress"], "#ffffff", 0.25), values["progress"])
    values["trough"] = mix(values["window"], values["base"], 0.5)
    values["handle"] = mix(values["button"], values["frame"], 0.35)
    values["grid"] = mix(values["base"], values["frame"], 0.45)
    values["arrow"] = "dark" if luminance(values["buttonText"]) < 0.5 else "light"
    # The tick sits on the accent colour, drawn in the colour of text on it.
    values["tick"] = "dark" if luminance(values["accentText"]) < 0.5 else "light"
    values["focusTint"] = mix(values["window"], values["focus"], 0.12)
    # A round mark with a dot, so that a choice of one never looks like a check box.
    values["radioDot"] = radio_dot(values["accentText"], values["accent"])
    values["radioDotDisabled"] = radio_dot(values["disabledText"], values["disabledBase"])
    values["inputRadius"] = min(values["radius"], 3)
    values["checkRadius"] = min(values["radius"], 2)
    values["handleRadius"] = min(values["radius"], 4)
    return TEMPLATE.format(skinName=name, **values), values


def radio_dot(dot, ring):
    return (f"qradialgradient(cx: 0.5, cy: 0.5, radius: 0.5, fx: 0.5, fy: 0.5, stop: 0 {dot}, "
            f"stop: 0.42 {dot}, stop: 0.55 {ring}, stop: 1 {ring})")


def check(name, values):
    pairs = [("text", "window"), ("baseText", "base"), ("barText", "bar"), ("menuText", "menu"),
             ("accentText", "accent"), ("buttonText", "button"), ("buttonText", "buttonBottom"),
             ("title", "window"), ("headerText", "header"), ("tipText", "tip"), ("baseText", "alternate"),
             ("baseText", "readOnly"), ("disabledText", "disabledFill"), ("disabledText", "disabledBase"),
             ("menuDisabled", "menu"), ("text", "focusTint")]
    bad = [f"{a} on {b}: {contrast(values[a], values[b]):.2f}" for a, b in pairs
           if contrast(values[a], values[b]) < 4.5]
    if bad:
        sys.exit(f"{name}: " + "; ".join(bad))


def main():
    folder = pathlib.Path(__file__).resolve().parent.parent / "resources" / "skins"
    folder.mkdir(parents=True, exist_ok=True)
    for name, palette in SKINS.items():
        sheet, values = expand(name, palette)
        check(name, values)
        (folder / f"{name}.ssk").write_text(sheet, encoding="utf-8")


if __name__ == "__main__":
    main()
