#!/usr/bin/python3
"""Reads an XLSX workbook with openpyxl and prints what the diagram export
tests check, as JSON: sheet names, the cells of the first sheet with their
number formats, and every chart with its axes and series."""
import datetime
import json
import sys

import openpyxl


def text_of(title):
    if title is None or title.tx is None:
        return None
    if title.tx.rich is not None:
        return "".join(run.t or "" for para in title.tx.rich.p for run in (para.r or []))
    if title.tx.strRef is not None:
        return "=" + title.tx.strRef.f
    return None


def cell_value(value):
    if isinstance(value, (datetime.datetime, datetime.date)):
        return {"date": value.strftime("%Y-%m-%d %H:%M:%S")}
    return value


def series_of(series):
    ln = series.spPr.ln if series.spPr is not None else None
    colour = None
    if ln is not None and ln.solidFill is not None and ln.solidFill.srgbClr is not None:
        colour = ln.solidFill.srgbClr
        colour = getattr(colour, "val", colour)
    name = None
    if series.tx is not None:
        name = series.tx.v if series.tx.v is not None else ("=" + series.tx.strRef.f if series.tx.strRef else None)
    return {
        "x": series.xVal.numRef.f if series.xVal is not None and series.xVal.numRef is not None else None,
        "y": series.yVal.numRef.f if series.yVal is not None and series.yVal.numRef is not None else None,
        "name": name,
        "colour": colour,
        "width": ln.w if ln is not None else None,
        "dash": ln.prstDash if ln is not None else None,
    }


def main():
    book = openpyxl.load_workbook(sys.argv[1])
    sheet = book.worksheets[0]
    cells = {}
    formats = {}
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            cells[cell.coordinate] = cell_value(cell.value)
            formats[cell.coordinate] = cell.number_format
    charts = []
    for chart in sheet._charts:
        anchor = chart.anchor._from
        charts.append({
            "type": type(chart).__name__,
            "scatterStyle": getattr(chart, "scatterStyle", None),
            "title": text_of(chart.title),
            "xTitle": text_of(chart.x_axis.title),
            "yTitle": text_of(chart.y_axis.title),
            "yLogBase": chart.y_axis.scaling.logBase,
            "yNumFmt": chart.y_axis.numFmt.formatCode if chart.y_axis.numFmt is not None else None,
            "anchorRow": anchor.row,
            "anchorCol": anchor.col,
            "series": [series_of(s) for s in chart.series],
        })
    print(json.dumps({
        "sheets": book.sheetnames,
        "maxRow": sheet.max_row,
        "cells": cells,
        "formats": formats,
        "charts": charts,
    }))


if __name__ == "__main__":
    main()
