'use strict'

const { Layout } = require('./layout')

// Longest text kept from a push; the panel's own texts are far shorter.
const kLongestText = 256
// Hard keys kept by label; a panel sends about twenty.
const kMostKeys = 64

function emptyKnob() {
	return { bound: false, parameter: -1, name: '', value: 0, minimum: 0, maximum: 0, shown: '' }
}

function emptyButton() {
	return { caption: '', lit: false }
}

// What the panel shows, as its STATE pushes tell it. Each push is checked before it changes
// anything: a bad one is refused with the reason and the state stays as it was.
class PanelState {
	constructor() {
		this.clear()
	}

	// Back to nothing known, as while no panel is connected.
	clear() {
		this.unit = 0
		this.online = new Array(Layout.units).fill(false)
		this.link = ''
		this.title = ''
		this.info = ''
		this.knobs = Array.from({ length: Layout.knobs }, emptyKnob)
		this.menus = Array.from({ length: Layout.menuButtons }, emptyButton)
		this.functions = Array.from({ length: Layout.functionButtons }, emptyButton)
		this.keys = new Map()
	}

	keyLit(label) {
		return this.keys.get(label) === true
	}

	// Takes the words after STATE; returns the topic it changed, or throws why it refused them.
	apply(words) {
		const [topic, ...values] = words
		const entry = Object.hasOwn(this.#topics, topic) ? this.#topics[topic] : null
		if (!entry) throw new Error(`unknown topic "${topic}"`)
		const [count, take] = entry
		if (values.length !== count) throw new Error(`${topic} needs ${count} values, not ${values.length}`)
		take(values)
		return topic
	}

	// Each topic: how many values it carries, and how they change the state once all are read.
	#topics = {
		unit: [1, ([unit]) => (this.unit = whole(unit, 0, Layout.units))],
		online: [
			2,
			([unit, on]) => {
				const index = whole(unit, 1, Layout.units) - 1
				this.online[index] = flag(on)
			},
		],
		link: [1, ([state]) => (this.link = text(state))],
		title: [1, ([title]) => (this.title = text(title))],
		info: [1, ([info]) => (this.info = text(info))],
		knob: [
			8,
			([knob, bound, parameter, name, value, minimum, maximum, shown]) => {
				const index = whole(knob, 1, Layout.knobs) - 1
				this.knobs[index] = {
					bound: flag(bound),
					parameter: whole(parameter, -1, Layout.largestNumber),
					name: text(name),
					value: wireNumber(value),
					minimum: wireNumber(minimum),
					maximum: wireNumber(maximum),
					shown: text(shown),
				}
			},
		],
		menu: [3, ([button, caption, lit]) => setButton(this.menus, Layout.menuButtons, button, caption, lit)],
		function: [3, ([button, caption, lit]) => setButton(this.functions, Layout.functionButtons, button, caption, lit)],
		key: [
			2,
			([label, lit]) => {
				const name = text(label)
				const on = flag(lit)
				if (!this.keys.has(name) && this.keys.size >= kMostKeys) throw new Error(`more than ${kMostKeys} hard keys`)
				this.keys.set(name, on)
			},
		],
	}
}

function whole(word, lowest, highest) {
	if (!/^-?\d{1,7}$/.test(word)) throw new Error(`"${word}" is no whole number`)
	const number = Number(word)
	if (number < lowest || number > highest) throw new Error(`${number} is not within ${lowest}..${highest}`)
	return number
}

function wireNumber(word) {
	return whole(word, -Layout.largestNumber, Layout.largestNumber)
}

// A menu or function button: its caption without the blanks that pad it on the panel.
function setButton(buttons, count, button, caption, lit) {
	const index = whole(button, 1, count) - 1
	buttons[index] = { caption: text(caption).trim(), lit: flag(lit) }
}

function flag(word) {
	return whole(word, 0, 1) === 1
}

function text(word) {
	if (word.length > kLongestText) throw new Error(`a text longer than ${kLongestText} characters`)
	return word
}

module.exports = { PanelState }
