@echo off
rem Example Notes 1.0 - a tiny note keeper.
rem Appends a dated line to a notes file and shows the file in Notepad.
rem Without an argument the notes file is Notes.txt in the folder "Notes" of
rem the user's documents; with one, it is the file named (such as a .exnote file).
title Example Notes
setlocal
set "FILE=%USERPROFILE%\My Documents\Notes\Notes.txt"
if not "%~1"=="" set "FILE=%~f1"
for %%F in ("%FILE%") do if not exist "%%~dpF" mkdir "%%~dpF"
echo Example Notes 1.0 - (c) Example Software
echo Notes file: %FILE%
echo.
set /p "LINE=Write a note (empty to just view): "
if defined LINE echo %DATE% %TIME:~0,5%  %LINE%>>"%FILE%"
if exist "%FILE%" start "" notepad.exe "%FILE%"
endlocal
