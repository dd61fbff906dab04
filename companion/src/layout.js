'use strict'

// What the panel has, numbered from 1 as printed on it.
const Layout = Object.freeze({
	knobs: 8,
	menuButtons: 10,
	functionButtons: 6,
	units: 4,
	memories: 5,
	// The hard keys by their labels; FILE CLEAR is left off, the panel never takes it from a client.
	hardKeys: Object.freeze([
		'UNIT 1',
		'UNIT 2',
		'UNIT 3',
		'UNIT 4',
		'VIEW FG',
		'VIEW BG',
		'VIEW MATTE',
		'MENU MATTE',
		'MENU WND',
		'MENU FG',
		'MENU MATTE IN/OUT',
		'ALT',
		'MENU BG',
		'MENU CONFIG',
		'MEM 1',
		'MEM 2',
		'MEM 3',
		'MEM 4',
		'MEM 5',
		'PREFS',
	]),
	// Every number on the wire lies within plus or minus this.
	largestNumber: 1000000,
})

// 1..count, for the numbered choices of actions, feedbacks and presets.
function numbers(count) {
	return Array.from({ length: count }, (_, i) => i + 1)
}

module.exports = { Layout, numbers }
