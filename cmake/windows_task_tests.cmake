# Windows programs and libraries that the Wine tests of fonts, ActiveX, type libraries and the
# like install and check (built by the Windows sub-build, never shipped).
